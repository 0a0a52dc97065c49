#pragma once

#include "gui/log/TFrmGridExport.h"
#include "log/TTrendQuery.h"
#include "log/TTrendSeries.h"

#include <QDialog>

#include <array>
#include <functional>
#include <utility>

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QDateTimeEdit;
class QLabel;
class QPushButton;
class QSpinBox;
class QTimer;
class TfrmProgress;
class TrendPlot;

// The trend window: one device's values from the data log over a day, a
// week, a month or a period of the user's, across month files; each value
// switchable, zoomed with the wheel or a dragged rectangle and panned with
// the mouse. Short periods are drawn from every sample, long ones from the
// hourly summaries. The view can be saved as a PNG and its period exported
// to CSV.
class TFrmTrend : public QDialog {
    Q_OBJECT
public:
    enum TPeriod { kPeriodDay, kPeriodWeek, kPeriodMonth, kPeriodRange };

    // Opens on the day of `at` for device `addr`.
    TFrmTrend(const QString &recordDir, quint8 language, std::uint8_t addr, TDateTime at,
              TfrmProgress *progress = nullptr, QWidget *parent = nullptr);

    TLogWindowPrompts Prompts = TLogWindowPrompts::Dialogs();
    // The name to save the picture under; empty when the user cancels.
    std::function<QString(QWidget *parent)> AskPngFileName;

    void ApplyLanguage();
    // The period the controls give: [from, to).
    std::pair<TDateTime, TDateTime> Period() const;
    void SetPeriod(TPeriod period);
    // Reads the period of the controls for the address and shows it whole.
    void ShowClick();
    // After a zoom or a pan: reads again when the view needs points the
    // window does not hold (another stretch of time, or samples instead of
    // hours or the other way round).
    void ReloadForView();
    void ResetZoom();
    void SavePngClick();
    void ExportClick();

    const TTrendSeries &Series() const { return FSeries; }
    TrendPlot *Plot() const { return FPlot; }
    // Reading and drawing the last load took this long.
    double LastLoadMs() const { return FLastLoadMs; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildLayout();
    QWidget *BuildPeriodBox();
    QWidget *BuildSeriesBox();
    void UpdateFieldStates();
    void Load(TDateTime from, TDateTime to, TTrendResolution resolution);
    void UpdateStatus();

    QString FRecordDir;
    quint8 FLanguage;
    TfrmProgress *FProgress;
    TTrendQuery FQuery;
    TTrendSeries FSeries;
    std::pair<TDateTime, TDateTime> FShownPeriod{0, 1};
    double FLastLoadMs = 0;

    QButtonGroup *FPeriod = nullptr;
    QDateEdit *FDate = nullptr;
    QDateTimeEdit *FFrom = nullptr;
    QDateTimeEdit *FTo = nullptr;
    QSpinBox *FAddr = nullptr;
    QPushButton *FShow = nullptr;
    QPushButton *FResetZoom = nullptr;
    QPushButton *FSavePng = nullptr;
    QPushButton *FExport = nullptr;
    std::array<QCheckBox *, kTrendValueCount> FValueBoxes{};
    TrendPlot *FPlot = nullptr;
    QLabel *FStatus = nullptr;
    QTimer *FReloadTimer = nullptr;
};
