#pragma once

#include "gui/log/TFrmGridExport.h"
#include "log/DateTime.h"
#include "log/TEventFilter.h"
#include "log/TEventLogModel.h"
#include "log/TGridSortState.h"

#include <QDialog>

class LogFilterFields;
class LogGridView;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTimer;
class TEventLog;
class TfrmProgress;
struct TSettings;

// The event log viewer: the events of the live file, filtered by time range
// and address, in words of the current language, sortable, exportable and
// clearable. While open it reloads when the store has new records.
class TFrmEventLog : public QDialog {
    Q_OBJECT
public:
    // `debugShow`: the Trace window's switch of the debug displays.
    TFrmEventLog(TEventLog &store, const TSettings &settings, const quint8 &debugShow,
                 TfrmProgress *progress = nullptr, TClock clock = LocalNow, QWidget *parent = nullptr);

    TLogWindowPrompts Prompts = TLogWindowPrompts::Dialogs();

    void ApplyLanguage();
    TEventFilter GetFilter() const;
    void LoadEvents();
    void ApplySort();
    void ClearGrid();
    void btnClearClick();
    void ExportClick();
    // The 2-second check for new records.
    void tmr1Timer();

    const TEventLogModel &Model() const { return FModel; }
    const TGridSortState &SortState() const { return FSort; }
    int SelRow() const { return FSelRow; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildLayout();
    void UpdateFieldStates();
    void SelectRow(int gridRow);

    TEventLog &FStore;
    const TSettings &FSettings;
    const quint8 &FDebugShow;
    TfrmProgress *FProgress;
    TClock FClock;

    TEventLogModel FModel;
    TGridSortState FSort{false};
    int FSelRow = 0;

    QGroupBox *FViewModeBox;
    QButtonGroup *FViewMode;
    LogFilterFields *FFields;
    QPushButton *FSearch;
    QPushButton *FRefresh;
    QPushButton *FExport;
    QPushButton *FClear;
    LogGridView *FGrid;
    QLineEdit *FDebugEdit;
    QTimer *FTimer;
};
