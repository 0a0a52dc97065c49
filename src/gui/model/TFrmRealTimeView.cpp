#include "gui/model/TFrmRealTimeView.h"

#include "gui/widgets/AngularGauge.h"
#include "gui/widgets/CaptionApplier.h"
#include "gui/widgets/FlowPipe.h"
#include "gui/widgets/LedBar.h"
#include "gui/widgets/ModeDiagram.h"
#include "gui/widgets/ValuePanel.h"
#include "gui/widgets/VoltageChart.h"
#include "model/GaugeScale.h"
#include "model/RealTimeValues.h"
#include "model/RealTimeViewTexts.h"
#include "model/TUpsInfo.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTime>
#include <QVBoxLayout>

namespace {

constexpr std::array<UpsMode, 7> kPictureModes = {UpsMode::Standby, UpsMode::Online,  UpsMode::Bypass,
                                                  UpsMode::Battery, UpsMode::Test,    UpsMode::Economy,
                                                  UpsMode::Fault};
const char *const kPictureNames[7] = {"GIFStandbyMode", "GIFOnlineMode",  "GIFBypassMode", "GIFBattMode",
                                      "GIFTestMode",    "GIFEconomyMode", "GIFFaltMode"};
const char *const kPhase[3] = {"A", "B", "C"};

QLabel *NamedLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QString Named(const char *prefix, int phase)
{
    return QLatin1String(prefix) + QLatin1String(kPhase[phase]);
}

void SetTabsShrunk(QTabWidget *tabs, bool shrunk)
{
    tabs->setProperty("tabsShrunk", shrunk);
    tabs->tabBar()->setVisible(!shrunk);
}

} // namespace

TFrmRealTimeView::TFrmRealTimeView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("RealTimeView"));
    FOuterPages = new QTabWidget(this);
    FOuterPages->setObjectName(QStringLiteral("bsSkinPageControl1"));
    FRealTimePage = BuildRealTimePage();
    FGraphPage = BuildGraphPage();
    FOuterPages->addTab(FRealTimePage, QString());
    FOuterPages->addTab(FGraphPage, QString());
    // Only the device tree switches these pages.
    FOuterPages->tabBar()->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FOuterPages);
}

QWidget *TFrmRealTimeView::BuildRealTimePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("bsSkinTabSheet1"));
    FInnerPages = new QTabWidget(page);
    FInnerPages->setObjectName(QStringLiteral("bsSkinPageControl2"));
    FDataPage = BuildDataPage();
    FSketchMapPage = BuildSketchMapPage();
    FInnerPages->addTab(FDataPage, QString());
    FInnerPages->addTab(FSketchMapPage, QString());

    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(FInnerPages, 1);
    layout->addWidget(BuildLowerPart());
    return page;
}

QWidget *TFrmRealTimeView::BuildGaugeCell(const QString &labelName, AngularGauge *gauge, const QString &valueName)
{
    auto *cell = new QWidget;
    auto *title = NamedLabel(labelName, QString(), cell);
    title->setProperty("gaugeTitle", true);
    title->setAlignment(Qt::AlignCenter);
    auto *value = NamedLabel(valueName, QStringLiteral("0 V"), cell);
    value->setProperty("gaugeValue", true);
    value->setAlignment(Qt::AlignCenter);
    gauge->setParent(cell);
    gauge->setUnit(QStringLiteral("V"));
    gauge->setDecimals(1);
    gauge->setCaptionVisible(false); // the value field under the dial shows the reading

    auto *layout = new QVBoxLayout(cell);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(title);
    layout->addWidget(gauge, 1, Qt::AlignHCenter);
    layout->addWidget(value, 0, Qt::AlignHCenter);
    return cell;
}

QWidget *TFrmRealTimeView::BuildLoadPanel()
{
    auto *panel = new QFrame;
    panel->setObjectName(QStringLiteral("LoadPanel"));
    panel->setProperty("valuePanel", true);
    auto *title = NamedLabel(QStringLiteral("bsSkinLabel6"), QString(), panel);
    title->setProperty("panelTitle", true);
    title->setAlignment(Qt::AlignCenter);

    auto *bars = new QGridLayout;
    bars->setHorizontalSpacing(4);
    bars->setVerticalSpacing(2);
    for (int phase = 0; phase < 3; ++phase) {
        auto *label = NamedLabel(QStringLiteral("bsSkinStdLabel%1").arg(7 + phase), QString(), panel);
        label->setAlignment(Qt::AlignCenter);
        label->setProperty("unitText", true);
        FLoadBars[phase] = new LedBar(panel);
        FLoadBars[phase]->setObjectName(Named("iLedBar", phase));
        FLoadBars[phase]->setScale(LoadPercentScale());
        FLoadBars[phase]->setSegmentCount(24);
        FLoadPercent[phase] = NamedLabel(Named("stLoadPer_", phase), QStringLiteral("0 %"), panel);
        FLoadPercent[phase]->setProperty("gaugeValue", true);
        FLoadPercent[phase]->setAlignment(Qt::AlignCenter);
        bars->addWidget(label, 0, phase);
        bars->addWidget(FLoadBars[phase], 1, phase, Qt::AlignHCenter);
        bars->addWidget(FLoadPercent[phase], 2, phase, Qt::AlignHCenter);
    }
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addWidget(title);
    layout->addLayout(bars, 1);
    return panel;
}

QWidget *TFrmRealTimeView::BuildDataPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("bsSkinTabSheet3"));
    auto *gauges = new QGridLayout;
    gauges->setSpacing(4);
    FGaugeGrid = gauges;
    for (int phase = 0; phase < 3; ++phase) {
        FInputGauges[phase] = new AngularGauge;
        FInputGauges[phase]->setObjectName(Named("iAGInPutV_", phase));
        FInputGauges[phase]->setScale(InputVoltageScale());
        QWidget *input = BuildGaugeCell(Named("lbInput", phase), FInputGauges[phase], Named("stInputV_", phase));
        FInputVolt[phase] = input->findChild<QLabel *>(Named("stInputV_", phase));
        gauges->addWidget(input, 0, phase);

        FOutputGauges[phase] = new AngularGauge;
        FOutputGauges[phase]->setObjectName(Named("iAGOutPutV_", phase));
        FOutputGauges[phase]->setScale(OutputVoltageScale());
        QWidget *output = BuildGaugeCell(Named("lbOutput", phase), FOutputGauges[phase], Named("stOutputV_", phase));
        FOutputCells[phase] = output;
        FOutputVolt[phase] = output->findChild<QLabel *>(Named("stOutputV_", phase));
        gauges->addWidget(output, 1, phase);
    }

    auto *dcPanel = new ValuePanel(QStringLiteral("AdvPanel4"), QStringLiteral("stDCInputV"), QStringLiteral("V"));
    auto *freqPanel = new ValuePanel(QStringLiteral("AdvPanel1"), QStringLiteral("stOutputFreq"), QStringLiteral("Hz"));
    FBattTimePanel = new ValuePanel(QStringLiteral("AdvPanel9"), QStringLiteral("stBattLivingTime"), QStringLiteral("Minute"));
    FBattCapaPanel = new ValuePanel(QStringLiteral("AdvPanel6"), QStringLiteral("stBattCapa"), QStringLiteral("%"));
    FDcVolt = dcPanel->valueLabel();
    FOutputFreq = freqPanel->valueLabel();
    FBattTime = FBattTimePanel->valueLabel();
    FBattCapa = FBattCapaPanel->valueLabel();

    // A fixed column, so the gauges keep their place when the language changes.
    auto *sideColumn = new QWidget(page);
    sideColumn->setFixedWidth(196);
    auto *side = new QVBoxLayout(sideColumn);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(5);
    side->addWidget(dcPanel);
    side->addWidget(freqPanel);
    side->addWidget(FBattTimePanel);
    side->addWidget(FBattCapaPanel);
    side->addWidget(BuildLoadPanel(), 1);

    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(8);
    layout->addLayout(gauges, 1);
    layout->addWidget(sideColumn);
    return page;
}

QWidget *TFrmRealTimeView::BuildSketchMapPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("bsSkinTabSheet4"));

    // The seven pictures share one cell of a grid; at most one is visible.
    auto *pictureArea = new QWidget(page);
    pictureArea->setObjectName(QStringLiteral("ModePictureArea"));
    auto *pictures = new QGridLayout(pictureArea);
    pictures->setContentsMargins(0, 0, 0, 0);
    for (size_t i = 0; i < kPictureModes.size(); ++i) {
        FModePictures[i] = new ModeDiagram(pictureArea);
        FModePictures[i]->setObjectName(QLatin1String(kPictureNames[i]));
        FModePictures[i]->setMode(kPictureModes[i]);
        FModePictures[i]->setVisible(kPictureModes[i] == UpsMode::Standby);
        pictures->addWidget(FModePictures[i], 0, 0);
    }

    FStateText = NamedLabel(QStringLiteral("stComStatus"), QString(), page);
    FStateText->setAlignment(Qt::AlignCenter);
    FPipe = new FlowPipe(page);
    FPipe->setObjectName(QStringLiteral("PipCharge"));
    FPipe->setFixedHeight(14);
    FPipe->setMaximumWidth(260);

    auto *left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(pictureArea, 1);
    left->addWidget(FStateText);
    left->addWidget(FPipe, 0, Qt::AlignHCenter);

    FCodeGroup = new QGroupBox(page);
    FCodeGroup->setObjectName(QStringLiteral("grpCode"));
    auto *words = new QGridLayout(FCodeGroup);
    words->setVerticalSpacing(6);
    // Each word keeps its register name beside it, since the value label
    // itself shows only hex digits once the device has answered.
    auto addWord = [&](int row, const char *name, const char *initial) {
        auto *caption = new QLabel(QLatin1String(initial), FCodeGroup);
        caption->setProperty("unitText", true);
        auto *label = NamedLabel(QLatin1String(name), QLatin1String(initial), FCodeGroup);
        label->setProperty("statusWord", true);
        words->addWidget(caption, row, 0);
        words->addWidget(label, row, 1);
        return label;
    };
    FCmmState = addWord(0, "lblCMMState", "CMMState");
    FInvState = addWord(1, "lblINVState", "INVState");
    FCmmAlarm = addWord(2, "lblCMMAlarm", "CMMAlarm");
    FInvAlarm = addWord(3, "lblINVAlarm", "INVAlarm");
    FSysState = addWord(4, "lbSysState", "SysState");
    FSysAlarm = addWord(5, "lbSysAlarm", "SysAlarm");
    FUpsState = NamedLabel(QStringLiteral("lblUpsState"), QString(), FCodeGroup);
    FUpsState->setProperty("statusWord", true);
    words->addWidget(FUpsState, 6, 0, 1, 2);
    words->setRowStretch(7, 1);
    FCodeGroup->setFixedWidth(StatusWordGroupWidth(true));

    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(10);
    layout->addLayout(left, 1);
    layout->addWidget(FCodeGroup);
    return page;
}

QWidget *TFrmRealTimeView::BuildLowerPart()
{
    auto *lower = new QWidget;
    lower->setObjectName(QStringLiteral("LowerPart"));

    auto *switches = new QGroupBox(lower);
    switches->setObjectName(QStringLiteral("grpSwitch"));
    auto *rows = new QGridLayout(switches);
    rows->setVerticalSpacing(6);
    const char *switchRows[8] = {"lblInputSwitch", "stInputSwitch", "lblBypassSwitch", "stBypassSwitch",
                                 "lblOutputSwitch", "stOutputSwitch", "lblMaintSwitch", "stMaintSwitch"};
    for (int i = 0; i < 8; ++i) {
        FSwitchRows[i] = NamedLabel(QLatin1String(switchRows[i]), QString(), switches);
        rows->addWidget(FSwitchRows[i], i / 2, i % 2);
    }
    rows->addWidget(NamedLabel(QStringLiteral("Label5"), QString(), switches), 4, 0);
    FInputSupply = NamedLabel(QStringLiteral("stInputPowerSupply"), QString(), switches);
    FInputSupply->setProperty("supplyValue", true);
    rows->addWidget(FInputSupply, 4, 1);
    rows->addWidget(NamedLabel(QStringLiteral("Label6"), QString(), switches), 5, 0);
    FUpsSupply = NamedLabel(QStringLiteral("stUpsPowerSupply"), QString(), switches);
    FUpsSupply->setProperty("supplyValue", true);
    rows->addWidget(FUpsSupply, 5, 1);
    rows->setColumnStretch(1, 1);

    auto *alarm = new QGroupBox(lower);
    alarm->setObjectName(QStringLiteral("grpAlarm"));
    FAlarms = new QPlainTextEdit(alarm);
    FAlarms->setObjectName(QStringLiteral("MemoAlarm"));
    FAlarms->setReadOnly(true);
    auto *alarmLayout = new QVBoxLayout(alarm);
    alarmLayout->setContentsMargins(6, 4, 6, 6);
    alarmLayout->addWidget(FAlarms);

    auto *layout = new QHBoxLayout(lower);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(switches, 1);
    layout->addWidget(alarm, 1);
    lower->setFixedHeight(112);
    return lower;
}

QWidget *TFrmRealTimeView::BuildGraphPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("bsSkinTabSheet2"));
    FChart1 = new VoltageChart(page);
    FChart1->setObjectName(QStringLiteral("Chart1"));
    FChart2 = new VoltageChart(page);
    FChart2->setObjectName(QStringLiteral("Chart2"));
    // The graphs hold the last minutes only; the trend window draws the
    // device's past from the data log.
    FTrendButton = new QPushButton(page);
    FTrendButton->setObjectName(QStringLiteral("btnTrend"));
    connect(FTrendButton, &QPushButton::clicked, this, &TFrmRealTimeView::trendRequested);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(FTrendButton);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(FChart1);
    layout->addWidget(FChart2);
    layout->addLayout(buttons);
    return page;
}

void TFrmRealTimeView::ApplyLanguage(quint8 language)
{
    ApplyCaptions(this, RealTimeViewCaptions(language));
}

void TFrmRealTimeView::RefreshView(const TUpsInfo &rec, quint8 protocol, quint8 language)
{
    const TRealTimeValues v = RealTimeValuesOf(rec, protocol, language);

    for (int phase = 0; phase < 3; ++phase) {
        FInputGauges[phase]->setValue(v.InputVolt[phase]);
        FInputVolt[phase]->setText(v.InputVoltText[phase]);
        FOutputGauges[phase]->setValue(v.OutputVolt[phase]);
        FOutputVolt[phase]->setText(v.OutputVoltText[phase]);
        FLoadBars[phase]->setValue(v.LoadPercent[phase]);
        FLoadPercent[phase]->setText(v.LoadPercentText[phase]);
    }
    FOutputFreq->setText(v.OutputFreqText);
    const QString now = QTime::currentTime().toString(QStringLiteral("hh:mm:ss"));
    FChart1->appendSample(v.InputVolt[0], v.InputVolt[1], v.InputVolt[2], now);
    FDcVolt->setText(v.DcVoltText);
    FBattTime->setText(v.BattBackupTimeText);
    FBattCapa->setText(v.BattCapacityText);
    FChart2->appendSample(v.OutputVolt[0], v.OutputVolt[1], v.OutputVolt[2], now);

    ShowMode(v.Mode);
    FStateText->setText(v.StateText);

    if (v.InputSupplyText)
        FInputSupply->setText(*v.InputSupplyText);
    if (v.UpsSupplyText)
        FUpsSupply->setText(*v.UpsSupplyText);

    FCmmState->setText(v.CmmStateText);
    FInvState->setText(v.InvStateText);
    FCmmAlarm->setText(v.CmmAlarmText);
    FInvAlarm->setText(v.InvAlarmText);
    FUpsState->setText(v.UpsStateText);
    FCodeGroup->setFixedWidth(StatusWordGroupWidth(v.SystemWordsShown));
    FSysState->setText(v.SysStateText);
    FSysAlarm->setText(v.SysAlarmText);

    const QString alarms = v.AlarmLines.join(QLatin1Char('\n'));
    if (FAlarms->toPlainText() != alarms)
        FAlarms->setPlainText(alarms);

    FPipe->apply(v.Flow);
}

void TFrmRealTimeView::ShowMode(UpsMode mode)
{
    if (VisibleMode() == mode)
        return;
    for (size_t i = 0; i < kPictureModes.size(); ++i)
        FModePictures[i]->setVisible(kPictureModes[i] == mode);
}

UpsMode TFrmRealTimeView::VisibleMode() const
{
    for (size_t i = 0; i < kPictureModes.size(); ++i)
        if (!FModePictures[i]->isHidden())
            return kPictureModes[i];
    return UpsMode::None;
}

void TFrmRealTimeView::SetProtocolLayout(quint8 protocol)
{
    if (protocol == 0 || protocol == 2 || protocol == 3) {
        FBattCapaPanel->show();
        FBattTimePanel->show();
        SetTabsShrunk(FInnerPages, false);
    } else if (protocol == 1) {
        FBattCapaPanel->hide();
        FBattTimePanel->show();
        // The ROrizu status carries no mode: its sketch map cannot be reached.
        SetTabsShrunk(FInnerPages, true);
        FInnerPages->setCurrentWidget(FDataPage);
    }
}

void TFrmRealTimeView::SetSinglePhaseLayout(quint8 language)
{
    for (int phase = 1; phase < 3; ++phase) {
        FOutputCells[phase]->hide();
        FLoadBars[phase]->hide();
        FLoadPercent[phase]->hide();
    }
    for (int label = 7; label <= 9; ++label)
        findChild<QWidget *>(QStringLiteral("bsSkinStdLabel%1").arg(label))->hide();
    findChild<QLabel *>(QStringLiteral("lbOutputA"))->setText(SinglePhaseOutputCaption(language));
    // The remaining output gauge spans the row, centred under the inputs.
    FGaugeGrid->removeWidget(FOutputCells[0]);
    FGaugeGrid->addWidget(FOutputCells[0], 1, 0, 1, 3);
    FChart2->setSinglePhase(true);
}

void TFrmRealTimeView::HideUnusedRows()
{
    for (QWidget *row : FSwitchRows)
        row->hide();
    FBattTimePanel->hide();
}

void TFrmRealTimeView::ShowGraphPage(bool graph)
{
    FOuterPages->setCurrentWidget(graph ? FGraphPage : FRealTimePage);
}

bool TFrmRealTimeView::GraphPageShown() const
{
    return FOuterPages->currentWidget() == FGraphPage;
}

void TFrmRealTimeView::ShowFirstPages()
{
    FOuterPages->setCurrentWidget(FRealTimePage);
    FInnerPages->setCurrentWidget(FDataPage);
}
