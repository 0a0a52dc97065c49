#include "gui/model/TFrmRealTimeView.h"

#include "gui/widgets/CaptionApplier.h"
#include "gui/widgets/FlowPipe.h"
#include "gui/widgets/VoltageChart.h"
#include "model/TUpsInfo.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

class RealTimeView : public ::testing::Test
{
protected:
    TFrmRealTimeView View;

    template <typename T = QWidget>
    T *Find(const char *name) const
    {
        T *control = View.findChild<T *>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QString TextOf(const char *name) const { return Find<QLabel>(name)->text(); }
};

} // namespace

TEST_F(RealTimeView, FieldsBeforeTheFirstRefresh)
{
    EXPECT_EQ(TextOf("stInputV_A"), "0 V");
    EXPECT_EQ(TextOf("stLoadPer_C"), "0 %");
    EXPECT_EQ(TextOf("stDCInputV"), "0");
    EXPECT_EQ(TextOf("lblCMMState"), "CMMState");
    EXPECT_EQ(TextOf("stComStatus"), "");
    EXPECT_EQ(View.VisibleMode(), UpsMode::Standby);
}

TEST_F(RealTimeView, RefreshShowsTheRecord)
{
    TUpsInfo rec;
    rec.LinkState = kLinkOnline;
    rec.State = 4;
    rec.InputVolt[0] = 219.96;
    rec.LoadPercent[0] = 45.6;
    rec.BattCapacity = 90;
    rec.InputSupply = 1;
    rec.UpsSupply = 2;
    rec.Para.WorkMode = 1;
    rec.CmmState1 = 0x0100;
    rec.DischargeCurrent = 10.7;
    rec.AlarmCount = 3;
    rec.AlarmList[0] = 17;
    rec.AlarmList[1] = 5000; // no text
    rec.AlarmList[2] = 18;
    View.RefreshView(rec, 2, 0);

    EXPECT_EQ(TextOf("stInputV_A"), "220.0 V");
    EXPECT_EQ(TextOf("stLoadPer_A"), "46 %");
    EXPECT_EQ(TextOf("stBattCapa"), "90");
    EXPECT_EQ(TextOf("stComStatus"), "Online");
    EXPECT_EQ(View.VisibleMode(), UpsMode::Online);
    EXPECT_EQ(TextOf("stInputPowerSupply"), "Mains Supply");
    EXPECT_EQ(TextOf("stUpsPowerSupply"), "ECO");
    EXPECT_EQ(TextOf("lblCMMState"), "0100-0000");
    EXPECT_EQ(Find<QPlainTextEdit>("MemoAlarm")->toPlainText(), "Battery reverse\nNo battery");
    auto *pipe = Find<FlowPipe>("PipCharge");
    EXPECT_FALSE(pipe->isHidden());
    EXPECT_TRUE(pipe->isFlowing());
    EXPECT_EQ(pipe->direction(), FlowDirection::Reverse);
    EXPECT_EQ(pipe->interval(), 280);

    // A supply code without a word keeps the row; a lost device shows no picture.
    rec.InputSupply = 9;
    rec.State = -1;
    rec.LinkState = kLinkLost;
    View.RefreshView(rec, 2, 0);
    EXPECT_EQ(TextOf("stInputPowerSupply"), "Mains Supply");
    EXPECT_EQ(View.VisibleMode(), UpsMode::None);
    EXPECT_EQ(TextOf("stComStatus"), "Communication lost");
    EXPECT_TRUE(pipe->isHidden());
}

TEST_F(RealTimeView, GraphsStartOverAfter120Refreshes)
{
    TUpsInfo rec;
    rec.InputVolt[0] = 220;
    for (int i = 0; i < 119; ++i)
        View.RefreshView(rec, 2, 0);
    EXPECT_EQ(View.Chart(1)->series(0)->count(), 119);
    EXPECT_EQ(View.Chart(2)->series(2)->count(), 119);
    View.RefreshView(rec, 2, 0);
    EXPECT_EQ(View.Chart(1)->series(0)->count(), 0);
    EXPECT_EQ(View.Chart(2)->series(0)->count(), 0);
    View.RefreshView(rec, 2, 0);
    EXPECT_EQ(View.Chart(1)->series(0)->count(), 1);
}

TEST_F(RealTimeView, ProtocolLayouts)
{
    auto *inner = Find<QTabWidget>("bsSkinPageControl2");
    TUpsInfo rec;
    rec.LinkState = kLinkOnline;
    rec.SysState = 0x1234;
    rec.ChargeCurrent = 5;

    View.HideUnusedRows();
    EXPECT_TRUE(Find("AdvPanel9")->isHidden());
    EXPECT_TRUE(Find("stInputSwitch")->isHidden());

    View.SetProtocolLayout(1);
    View.RefreshView(rec, 1, 0);
    EXPECT_TRUE(Find("AdvPanel6")->isHidden());
    EXPECT_FALSE(Find("AdvPanel9")->isHidden());
    EXPECT_TRUE(inner->tabBar()->isHidden());
    EXPECT_EQ(inner->currentWidget(), Find("bsSkinTabSheet3"));
    EXPECT_EQ(TextOf("lbSysState"), "");
    EXPECT_EQ(Find<QGroupBox>("grpCode")->maximumWidth(), 170);
    EXPECT_TRUE(Find("PipCharge")->isHidden());

    for (quint8 protocol : {0, 3, 2}) {
        View.SetProtocolLayout(protocol);
        View.RefreshView(rec, protocol, 0);
        EXPECT_FALSE(Find("AdvPanel6")->isHidden()) << int(protocol);
        EXPECT_FALSE(Find("AdvPanel9")->isHidden());
        EXPECT_FALSE(inner->tabBar()->isHidden());
        EXPECT_FALSE(Find("PipCharge")->isHidden());
    }
    EXPECT_EQ(Find<QGroupBox>("grpCode")->maximumWidth(), 222);
    EXPECT_EQ(TextOf("lbSysState"), "1234");
}

TEST_F(RealTimeView, SinglePhaseOutput)
{
    View.ApplyLanguage(0);
    View.SetSinglePhaseLayout(0);
    for (const char *name : {"lbOutputB", "iAGOutPutV_C", "stOutputV_B", "iLedBarB", "stLoadPer_C", "bsSkinStdLabel7"})
        EXPECT_FALSE(Find(name)->isVisibleTo(&View)) << name;
    for (const char *name : {"lbOutputA", "iAGOutPutV_A", "iLedBarA", "stLoadPer_A"})
        EXPECT_TRUE(Find(name)->isVisibleTo(&View)) << name;
    EXPECT_EQ(TextOf("lbOutputA"), "Output Volt.");
    EXPECT_FALSE(View.Chart(2)->series(1)->isVisible());
    EXPECT_TRUE(View.Chart(1)->series(1)->isVisible());

    View.SetSinglePhaseLayout(1);
    EXPECT_EQ(TextOf("lbOutputA"), QString::fromUtf8("输出电压"));
    // The next language switch brings back the phase caption.
    View.ApplyLanguage(0);
    EXPECT_EQ(TextOf("lbOutputA"), "Output A Phase V");
}
