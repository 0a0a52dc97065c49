#pragma once

#include "gui/log/TFrmGridExport.h"
#include "log/DateTime.h"
#include "log/TDataLogModel.h"
#include "log/TGridSortState.h"
#include "log/TRecFilter.h"

#include <QDialog>

#include <functional>

class LogFilterFields;
class LogGridView;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class TfrmProgress;
struct TSettings;

// The data log viewer: the samples of one month file, the whole month or one
// day, for all devices or one, in fifteen columns; sortable and exportable,
// with the doors to the data log settings and the month deletion windows.
class TFrmDataLog : public QDialog {
    Q_OBJECT
public:
    // `debugShow`: the Trace window's switch of the debug displays.
    TFrmDataLog(const QString &recordDir, TSettings &settings, const quint8 &debugShow,
                TfrmProgress *progress = nullptr, TClock clock = LocalNow, QWidget *parent = nullptr);

    TLogWindowPrompts Prompts = TLogWindowPrompts::Dialogs();
    // Shows a window modally; tests answer it without blocking.
    std::function<void(QDialog &)> RunModal = [](QDialog &dialog) { dialog.exec(); };

    void ApplyLanguage();
    TRecFilter GetFilter() const;
    void LoadRecords();
    void ClearGrid();
    void ExportClick();
    void OpenLogSettings();
    void OpenMonthDeletion();
    // The trend window for the device and day of the selected row.
    void OpenTrend();

    const TDataLogModel &Model() const { return FModel; }
    const TGridSortState &SortState() const { return FSort; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildLayout();
    void FitColumns();
    // A load or sort the memory did not suffice for.
    void ReportModelError();

    QString FRecordDir;
    TSettings &FSettings;
    const quint8 &FDebugShow;
    TfrmProgress *FProgress;
    TClock FClock;

    TDataLogModel FModel;
    TGridSortState FSort{true};

    QGroupBox *FViewModeBox;
    QButtonGroup *FViewMode;
    LogFilterFields *FFields;
    QPushButton *FSearch;
    QPushButton *FRefresh;
    QPushButton *FLogSetting;
    QPushButton *FExport;
    QPushButton *FClearMonth;
    QPushButton *FTrend;
    LogGridView *FGrid;
    QLineEdit *FDebugEdit;
};
