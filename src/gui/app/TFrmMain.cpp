#include "gui/app/TFrmMain.h"

#include "app/MainCommandRules.h"
#include "app/SoftwareParaChoices.h"
#include "app/TMonitorState.h"
#include "gui/app/TFrmAbout.h"
#include "gui/app/TFrmSoftwarePara.h"
#include "gui/control/TFrmTest.h"
#include "gui/control/TFrmUserSet.h"
#include "gui/control/TfrmPSW.h"
#include "gui/control/TfrmTrunOn.h"
#include "gui/log/TFrmDataLog.h"
#include "gui/log/TFrmTrend.h"
#include "gui/log/TFrmDataLogSet.h"
#include "gui/log/TFrmEventLog.h"
#include "gui/log/TfrmProgress.h"
#include "gui/model/TFrmDeviceTree.h"
#include "gui/model/TFrmEquipSearch.h"
#include "gui/model/TFrmNewEquip.h"
#include "gui/model/TFrmProperty.h"
#include "gui/model/TFrmRealTimeView.h"
#include "gui/protocol/TFrmCom.h"
#include "gui/widgets/CaptionApplier.h"
#include "gui/widgets/GuardedApplication.h"
#include "gui/widgets/LedIndicator.h"
#include "gui/widgets/ToolbarIcons.h"
#include "gui/widgets/WidgetPalette.h"
#include "log/TDataLog.h"
#include "log/TEventLog.h"
#include "model/RealTimeViewTexts.h"
#include "protocol/TPollEngine.h"
#include "protocol/TPollProtocol.h"
#include "serial/ECommsError.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTime>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <stdexcept>

namespace {

const int kStatusPanelWidths[4] = {180, 272, 232, 174};

QLineEdit *DebugField(const QString &name, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setProperty("debugField", true);
    field->hide();
    return field;
}

} // namespace

TFrmMain::TFrmMain(TMonitorState &state, const TAppPaths &paths, const QString &versionText, QWidget *parent)
    : QMainWindow(parent), FState(state), FCore(state, paths), FVersionText(versionText)
{
    setObjectName(QStringLiteral("TFrmMain"));
    AskYesNo = [this](const QString &text) {
        return QMessageBox::question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No)
               == QMessageBox::Yes;
    };
    ShowMessage = [this](const QString &text) {
        QMessageBox box(QMessageBox::Question, windowTitle(), text, QMessageBox::Ok, this);
        box.exec();
    };
    ShowError = [](const QString &text) { GuardedApplication::ReportError(text); };
    RunModal = [](QDialog &window) { window.exec(); };

    FTree = new TFrmDeviceTree(FState.DeviceList, FState.Selection);
    FView = new TFrmRealTimeView;
    connect(FView, &TFrmRealTimeView::trendRequested, this, &TFrmMain::TrendClick);
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    auto *centre = new QWidget(this);
    auto *layout = new QHBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildDevicePanel());
    layout->addWidget(FView, 1);
    setCentralWidget(centre);

    // The core has run the shared creation steps (directories, settings,
    // log stores, device list, status records); the window's own follow.
    FView->HideUnusedRows();
    ApplyLanguage();
    SetProtocolLayout();
    FState.Selection.FSelDevAddr = 0;
    if (!FCore.DeviceListError().isEmpty())
        ShowError(FCore.DeviceListError());
    RebuildDeviceTree();
    FStatusPanels[2]->setText(QStringLiteral("Version ") + versionText);
    FView->ShowFirstPages();
    FTimer1.setInterval(kTimerInterval);
    connect(&FTimer1, &QTimer::timeout, this, &TFrmMain::Timer1Timer);
    FTimer1.start();
    FView->SetSinglePhaseLayout(FState.Settings.Language);
    FProgress = new TfrmProgress(FState.Settings.Language, this);
    FProgress->hide();
    FUserSet = new TFrmUserSet(FState, [this] { return PortOpened(); }, this);
    FUserSet->RunModal = [this](QDialog &window) { RunModal(window); };

    setMinimumSize(960, 660);
    resize(1080, 720);
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::BuildMenus()
{
    auto addMenu = [this](const char *name) {
        QMenu *menu = menuBar()->addMenu(QString());
        menu->setObjectName(QLatin1String(name));
        menu->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Action"));
        return menu;
    };
    auto addItem = [this](QMenu *menu, const char *name, void (TFrmMain::*slot)()) {
        QAction *action = menu->addAction(QString());
        action->setObjectName(QLatin1String(name));
        if (slot != nullptr)
            connect(action, &QAction::triggered, this, slot);
        return action;
    };

    QMenu *system = addMenu("mni100");
    FUserSetAction = addItem(system, "mni101", &TFrmMain::UserSetClick);
    addItem(system, "mni102", &TFrmMain::SoftwareParaClick);
    system->addSeparator();
    QAction *exit = addItem(system, "mni103", nullptr);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *log = addMenu("mni200");
    addItem(log, "mni201", &TFrmMain::EventLogClick);
    addItem(log, "mni202", &TFrmMain::DataLogClick);
    addItem(log, "mni203", &TFrmMain::LogSettingClick);

    FControlMenu = addMenu("mni300");
    FBatteryTestAction = addItem(FControlMenu, "mni301", &TFrmMain::BatteryTestClick);
    FTurnOnAction = addItem(FControlMenu, "mniTurnOn", &TFrmMain::TurnOnClick);

    QMenu *language = addMenu("mni400");
    addItem(language, "mni401", &TFrmMain::ChineseClick);
    addItem(language, "mni402", &TFrmMain::EnglishClick);

    QMenu *help = addMenu("mni500");
    addItem(help, "mni501", &TFrmMain::AboutClick);
}

void TFrmMain::BuildToolBar()
{
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("MainToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(24, 24));
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, bar);

    // The buttons act as the menu items they stand for.
    auto addButton = [this, bar](int number, ToolbarIcons::Glyph glyph, const char *item) {
        auto *button = new QToolButton(bar);
        button->setObjectName(QStringLiteral("bsSkinSpeedButton%1").arg(number));
        button->setIcon(ToolbarIcons::Icon(glyph));
        button->setAutoRaise(true);
        if (item != nullptr) {
            QAction *action = findChild<QAction *>(QLatin1String(item));
            connect(button, &QToolButton::clicked, action, &QAction::trigger);
        }
        return bar->addWidget(button);
    };
    using ToolbarIcons::Glyph;
    addButton(1, Glyph::Settings, "mni102");
    // The language is switched through the menu; these two stay hidden.
    addButton(2, Glyph::Language, "mni401")->setVisible(false);
    addButton(3, Glyph::Language, "mni402")->setVisible(false);
    bar->addSeparator();
    addButton(4, Glyph::EventLog, "mni201");
    addButton(5, Glyph::DataLog, "mni202");
    addButton(8, Glyph::LogSetting, "mni203");
    bar->addSeparator();
    addButton(6, Glyph::About, "mni501");
    addButton(7, Glyph::Exit, "mni103");

    auto *spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);

    FDevIdLabel = new QLabel(bar);
    FDevIdLabel->setObjectName(QStringLiteral("lblDevID"));
    // A widget on a tool bar shows and hides through its action.
    FDevIdAction = bar->addWidget(FDevIdLabel);
    FDevIdAction->setVisible(false);

    FProtocolLabel = new QLabel(bar);
    FProtocolLabel->setObjectName(QStringLiteral("lblProtocol"));
    FProtocolLabel->setToolTip(QStringLiteral("Protocol"));
    bar->addWidget(FProtocolLabel);

    auto *leds = new QWidget(bar);
    auto *ledLayout = new QHBoxLayout(leds);
    ledLayout->setContentsMargins(8, 0, 8, 0);
    ledLayout->setSpacing(6);
    FTxLed = new LedIndicator(leds);
    FTxLed->setObjectName(QStringLiteral("iLedTx"));
    FTxLed->setColour(WidgetPalette::LampGreen());
    FTxLed->setToolTip(QStringLiteral("TX"));
    FRxLed = new LedIndicator(leds);
    FRxLed->setObjectName(QStringLiteral("iLedRx"));
    FRxLed->setColour(WidgetPalette::LampYellow());
    FRxLed->setToolTip(QStringLiteral("RX"));
    auto *tx = new QLabel(QStringLiteral("TX"), leds);
    auto *rx = new QLabel(QStringLiteral("RX"), leds);
    ledLayout->addWidget(tx);
    ledLayout->addWidget(FTxLed);
    ledLayout->addSpacing(4);
    ledLayout->addWidget(rx);
    ledLayout->addWidget(FRxLed);
    bar->addWidget(leds);

    FComButton = new QPushButton(bar);
    FComButton->setObjectName(QStringLiteral("btnCom"));
    FComButton->setMinimumWidth(96);
    connect(FComButton, &QPushButton::clicked, this, &TFrmMain::btnComClick);
    bar->addWidget(FComButton);
}

QWidget *TFrmMain::BuildDevicePanel()
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("DevicePanel"));
    panel->setFixedWidth(236);

    auto makeButton = [panel](const char *name) {
        auto *button = new QPushButton(panel);
        button->setObjectName(QLatin1String(name));
        return button;
    };
    QPushButton *search = makeButton("btnSearch");
    QPushButton *add = makeButton("btnNew");
    FDeleteButton = makeButton("btnDelete");
    FPropertyButton = makeButton("btnProperty");
    connect(FDeleteButton, &QPushButton::clicked, this, &TFrmMain::DeleteSelectedDevice);
    connect(search, &QPushButton::clicked, this, &TFrmMain::SearchClick);
    connect(add, &QPushButton::clicked, this, &TFrmMain::NewClick);
    connect(FPropertyButton, &QPushButton::clicked, this, &TFrmMain::PropertyClick);

    auto *buttons = new QGridLayout;
    buttons->setSpacing(4);
    buttons->addWidget(search, 0, 0);
    buttons->addWidget(add, 0, 1);
    buttons->addWidget(FDeleteButton, 1, 0);
    buttons->addWidget(FPropertyButton, 1, 1);

    FTreeData = DebugField(QStringLiteral("edtTreeData"), panel);
    FArrEq = DebugField(QStringLiteral("edtArrEq"), panel);
    FNode = DebugField(QStringLiteral("edtNode"), panel);

    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(buttons);
    layout->addWidget(FTree, 1);
    layout->addWidget(FTreeData);
    layout->addWidget(FArrEq);
    layout->addWidget(FNode);

    connect(FTree, &TFrmDeviceTree::pageRequested, this, [this](bool graph) {
        FView->ShowGraphPage(graph);
        UpdateCommandStates();
    });
    return panel;
}

void TFrmMain::BuildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 4; ++i) {
        FStatusPanels[i] = new QLabel(bar);
        FStatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        FStatusPanels[i]->setMinimumWidth(kStatusPanelWidths[i]);
        bar->addWidget(FStatusPanels[i], i == 1 ? 1 : 0);
    }
}

void TFrmMain::Timer1Timer()
{
    FState.DiagCounters[0] = FTimer1.interval();
    ++FState.DiagCounters[10];
    const TMainTicker::TStep step = FTicker.Tick();
    if (!step.StatusPass)
        return;
    StatusPass();
    if (step.Refresh) {
        ++FState.DiagCounters[16];
        FStatusPanels[3]->setText(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")));
        RefreshView();
    }
}

void TFrmMain::StatusPass()
{
    UpdateDebugLabel();
    const bool opened = PortOpened();
    FStatusPanels[0]->setText(PortStatusText(opened, FState.Settings.PortInfo.ComName, FCore.LinkStatus(),
                                                FState.Settings.Language));
    FComButton->setText(opened ? FTexts.ClosePort : FTexts.OpenPort);
    BlinkIndicators();
    UpdateCommandStates();
}

void TFrmMain::UpdateCommandStates()
{
    const bool control = ControlCommandsVisible(FState.Settings.PortInfo.Protocol);
    FUserSetAction->setVisible(control);
    FControlMenu->menuAction()->setVisible(control);
    FBatteryTestAction->setVisible(control);
    FTurnOnAction->setVisible(control);
    const bool deviceCommands = DeviceCommandsEnabled(FState.Selection.FidxSelNode);
    FDeleteButton->setEnabled(deviceCommands);
    FPropertyButton->setEnabled(deviceCommands);
}

void TFrmMain::RefreshView()
{
    const quint8 language = FState.Settings.Language;
    const bool opened = PortOpened();
    int selectedPosition = 0;
    for (int position = 1; position <= FState.DeviceList.Count(); ++position) {
        FTree->UpdateDeviceNode(position, FState.UpsInfo, opened, language);
        if (FState.DeviceList.At(position)->Addr == FState.Selection.FSelDevAddr)
            selectedPosition = position;
    }
    const TUpsInfo &rec = FState.UpsInfo[FState.Selection.FSelDevAddr];
    FView->RefreshView(rec, FState.Settings.PortInfo.Protocol, language);

    if (FState.Debug.DebugShow == 0)
        return;
    const TDeviceNode *device = FState.DeviceList.At(selectedPosition);
    FTreeData->setText(device == nullptr
                           ? QStringLiteral("Items:0")
                           : QStringLiteral("Items:%1 Name:%2 Addr:%3 Node:%4")
                                 .arg(selectedPosition)
                                 .arg(device->NameText())
                                 .arg(device->Addr)
                                 .arg(device->NodeIndex));
    const int selectedNode = TFrmDeviceTree::TreeIndexOfItem(FTree->currentItem());
    FArrEq->setText(QStringLiteral("Select:%1 Addr:%2").arg(FState.Selection.FSelDevAddr).arg(rec.Addr)
                    + (selectedNode >= 0 ? QStringLiteral(" SelNode:%1").arg(selectedNode)
                                         : QStringLiteral(" SelNode: -1")));
    FNode->setText(QStringLiteral("FidxSelNode=%1FSelDevAddr=%2")
                       .arg(FState.Selection.FidxSelNode)
                       .arg(FState.Selection.FSelDevAddr));
}

void TFrmMain::ApplyLanguage()
{
    const quint8 language = FState.Settings.Language;
    FTree->SetChildCaptions(DeviceChildCaptions(language));
    RebuildDeviceTree();
    FTexts = ShellTexts(language);
    ApplyCaptions(this, MainWindowCaptions(language));
    FView->ApplyLanguage(language);
}

void TFrmMain::SetProtocolLayout()
{
    FProtocolLabel->setText(QString::number(FState.Settings.PortInfo.Protocol));
    FView->SetProtocolLayout(FState.Settings.PortInfo.Protocol);
}

void TFrmMain::UpdateDebugLabel()
{
    const bool show = FState.Debug.DebugShow != 0;
    FDevIdAction->setVisible(show);
    for (QWidget *control : {static_cast<QWidget *>(FTreeData),
                             static_cast<QWidget *>(FArrEq), static_cast<QWidget *>(FNode),
                             FView->findChild<QWidget *>(QStringLiteral("lblUpsState"))})
        control->setVisible(show);
    if (!show)
        return;
    const TPollProtocol *protocol = Engine() != nullptr ? Engine()->SelectedProtocol() : nullptr;
    const int current = protocol != nullptr ? protocol->CurrentAddress() : 0;
    const int currentTx = current < TUpsInfoTable::kSize ? FState.UpsInfo[current].TxCnt : 0;
    const quint8 selected = FState.Selection.FSelDevAddr;
    const TUpsInfo &s = FState.UpsInfo[selected];
    FDevIdLabel->setText(QStringLiteral("Cur[%1]:%2  Dev[%3]:%4%;R:%5; %6:%7/%8")
                             .arg(current)
                             .arg(currentTx)
                             .arg(selected)
                             .arg(s.OkRate)
                             .arg(s.NoReplyCnt)
                             .arg(s.RxCnt)
                             .arg(s.OkCnt)
                             .arg(s.TxCnt));
}

void TFrmMain::BlinkIndicators()
{
    // The engine sets each counter to 3 on every frame, so a lamp stays lit
    // for three status passes after the last one.
    auto blink = [](std::uint8_t &counter, LedIndicator *led) {
        if (counter > 0) {
            --counter;
            led->setOn(true);
        } else {
            led->setOn(false);
        }
    };
    blink(FState.Engine.TxLed, FTxLed);
    blink(FState.Engine.RxLed, FRxLed);
}

void TFrmMain::StartEngine()
{
    if (Engine() != nullptr)
        return;
    connect(&FCore, &TMonitorCore::portOpenFailed, this, [this](const QString &) {
        ShowError(FTexts.PortError);
        if (!FCloseWithoutQuestion) // ended by a signal while the error was shown
            SoftwareParaClick();
    });
    FCore.StartEngine();
}

bool TFrmMain::PortOpened() const
{
    return FCore.PortOpened();
}

void TFrmMain::btnComClick()
{
    if (Engine() == nullptr)
        return;
    // Decided by the port itself rather than by the caption, which follows
    // a language switch only at the next status pass.
    if (PortOpened()) {
        FCore.ClosePort();
        return;
    }
    // The port settings are read again, so an edit of the file takes effect;
    // the rest stays as chosen since the last save.
    LoadPortSettings(FState.Settings, Paths().SettingsFile);
    try {
        FCore.OpenPort();
    } catch (const ECommsError &error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

void TFrmMain::RebuildDeviceTree()
{
    FTree->RebuildDeviceTree();
    UpdateCommandStates();
}

void TFrmMain::SaveDeviceList()
{
    FState.DeviceList.SaveDeviceList(Paths().RecordDir);
}

void TFrmMain::DeleteSelectedDevice()
{
    if (!DeviceCommandsEnabled(FState.Selection.FidxSelNode))
        return;
    FState.Selection.DeleteSelectedDevice(FState.DeviceList);
    RebuildDeviceTree();
    SaveDeviceList();
}

quint8 TFrmMain::GetSelDevAddr() const
{
    return FState.Selection.GetSelDevAddr();
}

void TFrmMain::SearchClick()
{
    TFrmEquipSearch window(FState.DeviceList, FState.Engine, Engine(), FState.Settings.Language,
                           [this] { DeviceListChanged(); }, this);
    RunModal(window);
}

void TFrmMain::NewClick()
{
    TFrmNewEquip window(FState.DeviceList, FState.Settings.Language, [this] { DeviceListChanged(); }, this);
    RunModal(window);
}

void TFrmMain::PropertyClick()
{
    if (!DeviceCommandsEnabled(FState.Selection.FidxSelNode))
        return;
    TFrmProperty window(FState.DeviceList, FState.Selection.FidxSelNode, FState.Settings.Language,
                        [this] { DeviceListChanged(); }, this);
    RunModal(window);
}

void TFrmMain::DeviceListChanged()
{
    RebuildDeviceTree();
    SaveDeviceList();
}

void TFrmMain::UserSetClick()
{
    if (!UserSettingsAllowed(FState.UpsInfo[FState.Selection.FSelDevAddr])) {
        ShowMessage(FTexts.DeviceNotOnline);
        return;
    }
    FUserSet->show();
    FUserSet->raise();
    FUserSet->activateWindow();
}

bool TFrmMain::PasswordAccepted()
{
    TfrmPSW prompt(FState.ModelName, FState.Settings.Language, this);
    RunModal(prompt);
    return prompt.result() == QDialog::Accepted;
}

void TFrmMain::BatteryTestClick()
{
    if (!PasswordAccepted())
        return;
    TFrmTest window(FState, this);
    RunModal(window);
}

void TFrmMain::TurnOnClick()
{
    if (!PasswordAccepted())
        return;
    TfrmTrunOn window(FState, this);
    RunModal(window);
}

void TFrmMain::EventLogClick()
{
    FProgress->SetLanguage(FState.Settings.Language);
    TFrmEventLog window(EventLog(), FState.Settings, FState.Debug.DebugShow, FProgress, LocalNow, this);
    RunModal(window);
}

void TFrmMain::TrendClick()
{
    FProgress->SetLanguage(FState.Settings.Language);
    TFrmTrend window(Paths().RecordDir, FState.Settings.Language, GetSelDevAddr(), LocalNow(), FProgress, this);
    RunModal(window);
}

void TFrmMain::DataLogClick()
{
    FProgress->SetLanguage(FState.Settings.Language);
    TFrmDataLog window(Paths().RecordDir, FState.Settings, FState.Debug.DebugShow, FProgress, LocalNow, this);
    RunModal(window);
}

void TFrmMain::LogSettingClick()
{
    TFrmDataLogSet window(FState.Settings, this);
    RunModal(window);
}

void TFrmMain::ChineseClick()
{
    FState.Settings.Language = 1;
    ApplyLanguage();
}

void TFrmMain::EnglishClick()
{
    FState.Settings.Language = 0;
    ApplyLanguage();
}

void TFrmMain::SoftwareParaClick()
{
    TFrmSoftwarePara::TActions actions{
        [this] { FCore.OpenPort(); },
        [this] { SetProtocolLayout(); },
        [this](const QString &text) { ShowError(text); },
    };
    TFrmSoftwarePara window(FState.Settings, Paths().SettingsFile, AutoStartEntry, SystemSerialDevices(), actions,
                            this);
    RunModal(window);
}

void TFrmMain::AboutClick()
{
    TFrmAbout window(FState.Settings.Language, FVersionText, this);
    window.OpenTrace = [this] { ShowTraceWindow(); };
    window.HideTrace = [this] { HideTraceWindow(); };
    RunModal(window);
}

void TFrmMain::ShowTraceWindow()
{
    if (Engine() == nullptr)
        return;
    if (FTrace == nullptr)
        FTrace = std::make_unique<TFrmCom>(*Engine());
    FTrace->show();
    FTrace->raise();
    FTrace->activateWindow();
}

void TFrmMain::HideTraceWindow()
{
    if (FTrace != nullptr)
        FTrace->hide();
}

void TFrmMain::CloseWithoutQuestion()
{
    FCloseWithoutQuestion = true;
    close();
}

bool TFrmMain::ConfirmAndSave()
{
    if (!FCloseWithoutQuestion && !AskYesNo(FTexts.ExitQuestion))
        return false;
    FTimer1.stop();
    try {
        FCore.SaveSettings();
    } catch (const std::exception &error) {
        if (!FCloseWithoutQuestion) {
            ShowError(QString::fromLocal8Bit(error.what()));
            // A full disk or a read-only directory must not keep the
            // program from ending: the user may leave the settings unsaved,
            // or stay (the window keeps refreshing) and try again later.
            if (!AskYesNo(FTexts.ExitWithoutSavingQuestion)) {
                FTimer1.start();
                return false;
            }
        } else {
            // Nobody is there to answer a message box while the session ends.
            qWarning("%s", error.what());
        }
    }
    FCore.ClosePort();
    return true;
}

void TFrmMain::closeEvent(QCloseEvent *event)
{
    if (!ConfirmAndSave()) {
        event->ignore();
        return;
    }
    FUserSet->close(); // a window of its own that must not outlive the program
    event->accept();
}
