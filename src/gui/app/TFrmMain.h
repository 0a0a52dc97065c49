#pragma once

#include "app/MainWindowTexts.h"
#include "app/TAppPaths.h"
#include "app/TAutoStartEntry.h"
#include "app/TMainTicker.h"
#include "app/TMonitorCore.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <memory>

class LedIndicator;
class QAction;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class TDataLog;
class TEventLog;
class TFrmCom;
class TFrmDeviceTree;
class TFrmRealTimeView;
class TfrmProgress;
class TFrmUserSet;
class TPollEngine;
struct TMonitorState;

// The main window: menus, toolbar, the device tree with its buttons, the
// real-time view, the status bar and the 10 ms timer that keeps them
// current. It owns the two log stores and the device selection's tree.
class TFrmMain : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int kTimerInterval = 10; // ms

    // Runs the creation steps: directories, settings, captions, log stores,
    // device list and tree, version text, status records, layouts; starts
    // the main timer. versionText is what GetVersionString gives.
    TFrmMain(TMonitorState &state, const TAppPaths &paths, const QString &versionText,
             QWidget *parent = nullptr);
    ~TFrmMain() override;

    // Message boxes, replaceable so nothing waits on a modal box in tests.
    // AskYesNo returns true for Yes.
    std::function<bool(const QString &text)> AskYesNo;
    std::function<void(const QString &text)> ShowMessage;
    std::function<void(const QString &text)> ShowError;
    // Shows a window made for one use, modally.
    std::function<void(QDialog &window)> RunModal;
    // Where the software parameter window puts the autostart entry.
    TAutoStartEntry AutoStartEntry = TAutoStartEntry::ForThisSystem();

    // One tick of the main timer; the timer calls it every 10 ms.
    void Timer1Timer();
    void StatusPass();
    void RefreshView();

    void ApplyLanguage();
    void SetProtocolLayout();
    void UpdateDebugLabel();
    void BlinkIndicators();

    // Creates the polling engine, which logs the program start and opens
    // the port; a port that cannot be opened is reported and left closed.
    void StartEngine();
    TPollEngine *Engine() const { return FCore.Engine(); }
    // What the window shares with the headless service.
    TMonitorCore &Core() { return FCore; }

    bool PortOpened() const;
    void btnComClick();

    // Device list operations for the windows that edit it.
    void RebuildDeviceTree();
    void SaveDeviceList();
    void DeleteSelectedDevice();
    quint8 GetSelDevAddr() const;

    // The device buttons that open the search, add and property windows.
    void SearchClick();
    void NewClick();
    void PropertyClick();

    // Commands of the menus and buttons.
    void UserSetClick();
    void BatteryTestClick();
    void TurnOnClick();
    void EventLogClick();
    void DataLogClick();
    // The trend window for the selected device, from its graph page.
    void TrendClick();
    void LogSettingClick();
    void ChineseClick();
    void EnglishClick();
    void SoftwareParaClick();
    void AboutClick();

    // The Trace window, made on first use and kept for the run.
    void ShowTraceWindow();
    void HideTraceWindow();
    TFrmCom *TraceWindow() const { return FTrace.get(); }

    // Closes without asking, for a logout or a service manager stopping
    // the program.
    void CloseWithoutQuestion();

    TMonitorState &State() { return FState; }
    const TAppPaths &Paths() const { return FCore.Paths(); }
    TEventLog &EventLog() { return FCore.EventLog(); }
    TDataLog &DataLog() { return FCore.DataLog(); }
    TFrmDeviceTree *Tree() const { return FTree; }
    TFrmRealTimeView *View() const { return FView; }
    TFrmUserSet *UserSet() const { return FUserSet; }
    QTimer &Timer1() { return FTimer1; }
    const TShellTexts &Texts() const { return FTexts; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildMenus();
    void BuildToolBar();
    QWidget *BuildDevicePanel();
    void BuildStatusBar();
    void UpdateCommandStates();
    bool ConfirmAndSave();
    // The password prompt; true when it closed with OK.
    bool PasswordAccepted();
    // After a window changed the device list: the tree and the file follow.
    void DeviceListChanged();

    TMonitorState &FState;
    // The settings, log stores, device list and engine; made before any
    // widget reads a setting.
    TMonitorCore FCore;
    TShellTexts FTexts;
    TMainTicker FTicker;
    QTimer FTimer1;
    bool FCloseWithoutQuestion = false;

    TfrmProgress *FProgress = nullptr; // the export progress window, for the whole run
    TFrmUserSet *FUserSet = nullptr;   // the user settings window, for the whole run
    // A view on the engine, so it goes before the core.
    std::unique_ptr<TFrmCom> FTrace;
    QString FVersionText;

    TFrmDeviceTree *FTree = nullptr;
    TFrmRealTimeView *FView = nullptr;
    QPushButton *FComButton = nullptr;
    QLabel *FProtocolLabel = nullptr;
    QLabel *FDevIdLabel = nullptr;
    QAction *FDevIdAction = nullptr;
    LedIndicator *FTxLed = nullptr;
    LedIndicator *FRxLed = nullptr;
    QPushButton *FDeleteButton = nullptr;
    QPushButton *FPropertyButton = nullptr;
    QLineEdit *FTreeData = nullptr;
    QLineEdit *FArrEq = nullptr;
    QLineEdit *FNode = nullptr;
    QLabel *FStatusPanels[4] = {};
    QMenu *FControlMenu = nullptr;
    QAction *FUserSetAction = nullptr;
    QAction *FBatteryTestAction = nullptr;
    QAction *FTurnOnAction = nullptr;
};
