#include "gui/log/TFrmTrend.h"

#include "app/TMonitorState.h"
#include "app/TSettings.h"
#include "gui/app/TFrmMain.h"
#include "gui/log/TFrmDataLog.h"
#include "gui/model/TFrmDeviceTree.h"
#include "gui/model/TFrmRealTimeView.h"
#include "gui/support/NamedChild.h"
#include "gui/widgets/CaptionApplier.h"
#include "gui/widgets/LogGridView.h"
#include "gui/widgets/TrendPlot.h"
#include "log/TRecFilter.h"
#include "model/TDeviceNode.h"
#include "support/FileBytes.h"
#include "support/LogFileFixtures.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

namespace {

constexpr double kMinute = 1.0 / 1440;

// Devices 1 and 2 every 10 minutes through March 2009, input voltage A
// counting the runs; device 2 is offline on the 10th.
struct TrendWindowTest : ::testing::Test {
    QTemporaryDir Dir;
    std::unique_ptr<TFrmTrend> Window;

    void SetUp() override
    {
        std::vector<TDataRec> march;
        for (int run = 0; run < 31 * 144; ++run) {
            const TDateTime time = At(2009, 3, 1) + run * 10 * kMinute;
            march.push_back(Sample(time, 1, run));
            if (run / 144 != 9)
                march.push_back(Sample(time, 2, 1000 + run));
        }
        WriteRecordFile(TRecFilter::MonthFilePath(Dir.path(), 2009, 3), march);
    }
    void Open(std::uint8_t addr, TDateTime at, quint8 language = 0)
    {
        Window = std::make_unique<TFrmTrend>(Dir.path(), language, addr, at);
        Window->Prompts.ShowError = [](QWidget *, const QString &m) { ADD_FAILURE() << m.toStdString(); };
        Window->resize(1000, 600);
        Window->show();
    }
    template <typename W>
    W *Find(const char *name) const
    {
        return NamedChild<W>(*Window, name);
    }
    TrendPlot *Plot() const { return Window->Plot(); }
    // The x of a time on the plot.
    int XOf(TDateTime time) const
    {
        const QRect area = Plot()->paneArea(0);
        return area.left() + static_cast<int>((time - Plot()->viewFrom()) / (Plot()->viewTo() - Plot()->viewFrom()) * area.width());
    }
};

} // namespace

TEST_F(TrendWindowTest, OpensFromTheDataLogViewerOnTheSelectedRowsDeviceAndDay)
{
    TSettings settings;
    settings.Language = 1;
    const quint8 debugShow = 0;
    TFrmDataLog viewer(Dir.path(), settings, debugShow, nullptr, [] { return At(2009, 3, 20, 10); });
    viewer.show();
    auto *grid = viewer.findChild<LogGridView *>(QStringLiteral("grdRecData"));
    grid->setCurrentIndex(viewer.Model().index(3, 2)); // device 2 at 00:10 on the 1st
    bool shown = false;
    viewer.RunModal = [&](QDialog &dialog) {
        auto *trend = qobject_cast<TFrmTrend *>(&dialog);
        ASSERT_NE(trend, nullptr);
        trend->show();
        EXPECT_EQ(trend->Series().Addr, 2);
        EXPECT_EQ(trend->Period(), std::make_pair(At(2009, 3, 1), At(2009, 3, 2)));
        EXPECT_EQ(trend->Series().Resolution, TTrendResolution::Samples);
        EXPECT_EQ(trend->Series().Points.size(), 144u);
        EXPECT_EQ(CaptionOf(trend), QStringLiteral("历史趋势"));
        EXPECT_EQ(CaptionOf(trend->findChild<QPushButton *>(QStringLiteral("btnShow"))), QStringLiteral("显示"));
        EXPECT_EQ(CaptionOf(trend->findChild<QCheckBox *>(QStringLiteral("ckbLoadB"))), QStringLiteral("B相负载率(%)"));
        shown = true;
    };
    viewer.findChild<QPushButton *>(QStringLiteral("btnTrend"))->click();
    EXPECT_TRUE(shown);
}

TEST_F(TrendWindowTest, PeriodsAcrossTheMonthFromSamplesOrHours)
{
    Open(2, At(2009, 3, 12, 15));
    EXPECT_EQ(CaptionOf(Window.get()), QStringLiteral("Trend"));
    struct Case {
        TFrmTrend::TPeriod Period;
        TDateTime From, To;
        TTrendResolution Resolution;
        std::size_t Points;
    } const cases[] = {
        {TFrmTrend::kPeriodDay, At(2009, 3, 12), At(2009, 3, 13), TTrendResolution::Samples, 144},
        {TFrmTrend::kPeriodWeek, At(2009, 3, 6), At(2009, 3, 13), TTrendResolution::Samples, 6 * 144},
        {TFrmTrend::kPeriodMonth, At(2009, 3, 1), At(2009, 4, 1), TTrendResolution::Hours, 30 * 24},
        {TFrmTrend::kPeriodRange, At(2009, 3, 9, 12), At(2009, 3, 11, 6), TTrendResolution::Samples, 12 * 6 + 6 * 6},
    };
    // The user's period is taken however its ends are given.
    Find<QDateTimeEdit>("dtpFrom")->setDateTime(QDateTime(QDate(2009, 3, 11), QTime(6, 0)));
    Find<QDateTimeEdit>("dtpTo")->setDateTime(QDateTime(QDate(2009, 3, 9), QTime(12, 0)));
    for (const Case &c : cases) {
        Window->SetPeriod(c.Period);
        EXPECT_EQ(Find<QDateEdit>("dtpDate")->isEnabled(), c.Period != TFrmTrend::kPeriodRange);
        Find<QPushButton>("btnShow")->click();
        EXPECT_EQ(Window->Period(), std::make_pair(c.From, c.To)) << c.Period;
        EXPECT_EQ(Plot()->viewFrom(), c.From);
        EXPECT_EQ(Plot()->viewTo(), c.To);
        EXPECT_EQ(Window->Series().Resolution, c.Resolution) << c.Period;
        EXPECT_EQ(Window->Series().Points.size(), c.Points) << c.Period;
    }
}

TEST_F(TrendWindowTest, WheelRectangleAndPanChangeTheViewAndReadWhatItNeeds)
{
    Open(1, At(2009, 3, 15));
    Window->SetPeriod(TFrmTrend::kPeriodMonth);
    Window->ShowClick();
    ASSERT_EQ(Window->Series().Resolution, TTrendResolution::Hours);

    // The wheel zooms around the time under the mouse, which stays put.
    const TDateTime under = At(2009, 3, 20);
    const QPoint at(XOf(under), Plot()->paneArea(0).center().y());
    for (int notch = 0; notch < 7; ++notch) {
        QWheelEvent wheel(at, Plot()->mapToGlobal(at), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Plot(), &wheel);
    }
    const double span = Plot()->viewTo() - Plot()->viewFrom();
    EXPECT_NEAR(span, 31 * std::pow(0.8, 7), 1e-6); // six and a half days: samples
    EXPECT_NEAR(XOf(under), at.x(), 1);
    Window->ReloadForView(); // as the timer does once the wheel rests
    EXPECT_EQ(Window->Series().Resolution, TTrendResolution::Samples);
    EXPECT_LE(Window->Series().From, Plot()->viewFrom());
    EXPECT_GE(Window->Series().To, Plot()->viewTo());

    // A rectangle dragged with the left button: its time, and its pane's values.
    const QRect area = Plot()->paneArea(0);
    const TDateTime left = At(2009, 3, 19, 6), right = At(2009, 3, 19, 18);
    const QPoint from(XOf(left), area.top() + area.height() / 4), to(XOf(right), area.top() + area.height() / 2);
    const TValueRange before = Plot()->paneRange(0);
    QTest::mousePress(Plot(), Qt::LeftButton, {}, from);
    QTest::mouseMove(Plot(), to);
    QTest::mouseRelease(Plot(), Qt::LeftButton, {}, to);
    EXPECT_NEAR(Plot()->viewFrom(), left, 2 * span / area.width());
    EXPECT_NEAR(Plot()->viewTo(), right, 2 * span / area.width());
    const TValueRange values = Plot()->paneRange(0); // from a quarter to half way down
    const double height = before.High - before.Low;
    EXPECT_NEAR(values.High, before.Low + 0.75 * height, 0.01 * height);
    EXPECT_NEAR(values.Low, before.Low + 0.5 * height, 0.01 * height);

    // Dragging with the right button moves the time by the distance dragged.
    const double start = Plot()->viewFrom();
    const double perPixel = (Plot()->viewTo() - Plot()->viewFrom()) / area.width();
    QTest::mousePress(Plot(), Qt::RightButton, {}, area.center());
    QMouseEvent move(QEvent::MouseMove, area.center() + QPoint(100, 0), Plot()->mapToGlobal(area.center() + QPoint(100, 0)),
                     Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(Plot(), &move);
    QTest::mouseRelease(Plot(), Qt::RightButton, {}, area.center() + QPoint(100, 0));
    EXPECT_NEAR(Plot()->viewFrom(), start - 100 * perPixel, 1e-9);

    QTest::mouseDClick(Plot(), Qt::LeftButton, {}, area.center()); // back to the month
    EXPECT_EQ(Plot()->viewFrom(), At(2009, 3, 1));
    EXPECT_EQ(Plot()->viewTo(), At(2009, 4, 1));
    EXPECT_EQ(Window->Series().Resolution, TTrendResolution::Hours);
}

TEST_F(TrendWindowTest, SeriesSwitchOnAndOffAndAPaneWithoutAnyGoes)
{
    Open(1, At(2009, 3, 15));
    EXPECT_EQ(Plot()->shownPanes(), (std::vector<int>{0, 1}));
    Find<QCheckBox>("ckbBattTime")->setChecked(true);
    EXPECT_EQ(Plot()->shownPanes(), (std::vector<int>{0, 1, 3}));
    for (const char *name : {"ckbLoadA", "ckbLoadB", "ckbLoadC"})
        Find<QCheckBox>(name)->setChecked(false);
    EXPECT_EQ(Plot()->shownPanes(), (std::vector<int>{0, 3}));
    EXPECT_FALSE(Plot()->seriesVisible(kTrendLoadB));
}

TEST_F(TrendWindowTest, SavesThePictureAndExportsThePeriodShown)
{
    Open(2, At(2009, 3, 10, 12)); // a day the device was offline, and the next
    Window->SetPeriod(TFrmTrend::kPeriodRange);
    Find<QDateTimeEdit>("dtpFrom")->setDateTime(QDateTime(QDate(2009, 3, 10), QTime(22, 0)));
    Find<QDateTimeEdit>("dtpTo")->setDateTime(QDateTime(QDate(2009, 3, 11), QTime(1, 0)));
    Window->ShowClick();
    QTemporaryDir out;
    Window->AskPngFileName = [&](QWidget *) { return out.filePath(QStringLiteral("trend.png")); };
    Find<QPushButton>("btnSavePng")->click();
    EXPECT_EQ(QImage(out.filePath(QStringLiteral("trend.png"))).size(), Plot()->size() * Plot()->devicePixelRatio());

    Window->Prompts.AskSaveFileName = [&](QWidget *) { return out.filePath(QStringLiteral("trend")); };
    Find<QPushButton>("btnExport")->click();
    const QList<QByteArray> lines = ReadFileBytes(out.filePath(QStringLiteral("trend.csv"))).split('\n');
    ASSERT_EQ(lines.size(), 1 + 6 + 1); // header, 00:00 to 00:50 of the 11th, the end
    EXPECT_TRUE(lines[0].startsWith("Time,Address,InV-A (V),"));
    EXPECT_TRUE(lines[1].startsWith("2009-03-11 00:00:00,2,2440.0,")) << lines[1].toStdString();
}

TEST(TrendFromTheGraphPage, OpensForTheSelectedDevice)
{
    QTemporaryDir dir;
    const TAppPaths paths = TAppPaths::Beside(dir.path());
    TMonitorState state;
    for (quint8 addr : {4, 9})
        state.DeviceList.AddDevice(TDeviceNode::Make(addr, QStringLiteral("UPS%1").arg(addr)));
    paths.CreateDirectories();
    state.DeviceList.SaveDeviceList(paths.RecordDir);
    TFrmMain window(state, paths, QString());
    QStringList shown;
    window.RunModal = [&](QDialog &dialog) {
        auto *trend = qobject_cast<TFrmTrend *>(&dialog);
        ASSERT_NE(trend, nullptr);
        trend->show();
        shown << QString::number(trend->Series().Addr);
    };
    window.Tree()->TreeView1Click(window.Tree()->topLevelItem(1)->child(1)); // the graph page of the second
    ASSERT_TRUE(window.View()->GraphPageShown());
    window.findChild<QPushButton *>(QStringLiteral("btnTrend"))->click();
    EXPECT_EQ(shown, QStringList{QStringLiteral("9")});
}
