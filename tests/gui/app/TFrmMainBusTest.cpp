// The main window with the real polling engine, the real serial component
// and the bus simulator on a pseudo-terminal.
#include "gui/app/TFrmMain.h"

#include "MainWindowFixture.h"
#include "gui/model/TFrmDeviceTree.h"
#include "gui/model/TFrmRealTimeView.h"
#include "gui/widgets/LedIndicator.h"
#include "log/TEventLog.h"
#include "model/DeviceNodeLook.h"
#include "protocol/TPollEngine.h"
#include "support/EventWait.h"
#include "support/LoopbackPort.h"
#include "support/PeerProcess.h"
#include "support/UpsSimProcess.h"

#include <QLabel>
#include <QPushButton>

namespace {

class MainWindowOnTheBus : public MainWindowFixture
{
protected:
    UpsSimProcess Sim;

    void StartSimulator(const QStringList &arguments)
    {
        ASSERT_TRUE(Sim.Start(arguments)) << Sim.ErrorText().toStdString();
        WriteSettings(QStringLiteral("[CommPort]\nComName=%1\nProtocol=2\nReadIntervalTimeout=30\n[CommMast]\nPollMode=1\n")
                          .arg(Sim.PortPath())
                          .toUtf8());
    }

    // Runs the main timer's work as the timer would, until done() holds.
    bool RunUntil(const std::function<bool()> &done, int timeoutMs = 30000)
    {
        return WaitUntil(
            [&] {
                Window->StatusPass();
                Window->RefreshView();
                return done();
            },
            timeoutMs);
    }
};

} // namespace

TEST_F(MainWindowOnTheBus, ADeviceComesOnlineAndTheViewShowsItsValues)
{
    StartSimulator({"--protocol", "modbus", "--units", "1,2", "--steady", "--set", "2:alarm=9"});
    WriteDevices({1, 2});
    Open();
    Window->StartEngine();
    ASSERT_TRUE(Window->PortOpened());
    EXPECT_TRUE(Errors.isEmpty());

    QTreeWidgetItem *first = Window->Tree()->topLevelItem(0);
    QTreeWidgetItem *second = Window->Tree()->topLevelItem(1);
    ASSERT_TRUE(RunUntil([&] {
        return first->text(0) == "UPS1  (Online)" && second->data(0, TFrmDeviceTree::kIconRole) == kIconAlarm;
    })) << first->text(0).toStdString() << " / " << second->text(0).toStdString();
    EXPECT_EQ(first->data(0, TFrmDeviceTree::kIconRole).toInt(), kIconOnline);

    auto text = [&](const char *name) { return Find<QLabel>(name)->text(); };
    EXPECT_EQ(text("StatusPanel1"), Sim.PortPath() + " is Link");
    EXPECT_EQ(Find<QPushButton>("btnCom")->text(), "Close COM");
    EXPECT_EQ(text("stInputV_A"), "220.0 V");
    EXPECT_EQ(text("stComStatus"), "Online");
    EXPECT_EQ(text("stInputPowerSupply"), "Mains Supply");
    EXPECT_EQ(Window->View()->VisibleMode(), UpsMode::Online);
    EXPECT_TRUE(RunUntil([&] { return Find<LedIndicator>("iLedRx")->isOn(); }, 5000));

    // A language switch while the port is open shows at the next status pass.
    Window->ChineseClick();
    Window->StatusPass();
    EXPECT_EQ(text("StatusPanel1"), Sim.PortPath() + QString::fromUtf8("  已开启"));
    EXPECT_EQ(Find<QPushButton>("btnCom")->text(), QString::fromUtf8("关闭串口"));
    Window->EnglishClick();
    first = Window->Tree()->topLevelItem(0); // the switch rebuilt the tree

    // The port button closes the port; the tree then shows every device lost.
    Window->btnComClick();
    EXPECT_FALSE(Window->PortOpened());
    Window->StatusPass();
    Window->RefreshView();
    EXPECT_EQ(text("StatusPanel1"), "COM is closed");
    EXPECT_EQ(first->text(0), "UPS1  (Communication lost)");
    EXPECT_EQ(first->data(0, TFrmDeviceTree::kIconRole).toInt(), kIconOffline);

    // ...and opens it again with the settings of the file.
    Window->btnComClick();
    EXPECT_TRUE(Window->PortOpened());
}

TEST_F(MainWindowOnTheBus, ExitClosesThePortAndTheEngineLogsTheEnd)
{
    StartSimulator({"--units", "1"});
    WriteDevices({1});
    Open();
    Window->StartEngine();
    Window->show();
    ExitAnswer = true;
    ASSERT_TRUE(Window->close());
    EXPECT_FALSE(Window->PortOpened());
    Window.reset();

    TEventLog log(Paths.RecordDir, QStringLiteral("EventLog.dat"), Paths.BackupDir);
    const std::vector<TEventRec> events = log.ReadAllEvents();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events.front().Code, 20); // open
    EXPECT_EQ(events.back().Code, 21);  // closed
}

TEST_F(MainWindowOnTheBus, APortThatCannotOpenIsReported)
{
    WriteSettings("[CommPort]\nComName=/dev/orvan-no-such-port\nProtocol=2\n");
    Open();
    Window->StartEngine();
    EXPECT_FALSE(Window->PortOpened());
    EXPECT_EQ(Errors, QStringList{"There was an error to open serial port,please check the serial port settings !"});
}

TEST_F(MainWindowOnTheBus, ANetworkPortIsRetriedWithoutErrorBoxesAndPolledOnceItAnswers)
{
    const quint16 port = FreeLoopbackPort();
    const QString portName = QStringLiteral("tcp://127.0.0.1:%1").arg(port);
    WriteSettings(QStringLiteral("[CommPort]\nComName=%1\nProtocol=2\nReadIntervalTimeout=30\n[CommMast]\nPollMode=1\n")
                      .arg(portName)
                      .toUtf8());
    WriteDevices({1});
    Open();
    Window->StartEngine();
    ASSERT_TRUE(Window->PortOpened());
    auto panel = [&] { return Find<QLabel>("StatusPanel1")->text(); };
    ASSERT_TRUE(RunUntil([&] { return panel().contains("Connection refused; retry in"); }, 10000)) << panel().toStdString();
    EXPECT_TRUE(panel().startsWith(portName + ": ")) << panel().toStdString();
    EXPECT_EQ(Find<QPushButton>("btnCom")->text(), "Close COM");

    // A serial device server appears on that port with the unit behind it.
    ASSERT_TRUE(Sim.Start({"--protocol", "modbus", "--units", "1", "--steady"})) << Sim.ErrorText().toStdString();
    PeerProcess socat;
    ASSERT_TRUE(StartSocatTunnel(socat, port, Sim.PortPath())) << socat.ErrorText().toStdString();
    QTreeWidgetItem *first = Window->Tree()->topLevelItem(0);
    ASSERT_TRUE(RunUntil([&] { return first->text(0) == "UPS1  (Online)"; }, 40000)) << first->text(0).toStdString();
    EXPECT_EQ(panel(), portName + " connected");

    // The port button takes the link down and brings it up again.
    Window->btnComClick();
    EXPECT_FALSE(Window->PortOpened());
    Window->StatusPass();
    EXPECT_EQ(panel(), "COM is closed");
    socat.Kill(); // one connection per tunnel: the next needs a new one
    ASSERT_TRUE(StartSocatTunnel(socat, port, Sim.PortPath())) << socat.ErrorText().toStdString();
    Window->btnComClick();
    EXPECT_TRUE(Window->PortOpened());
    EXPECT_TRUE(RunUntil([&] { return panel() == portName + " connected"; }, 10000)) << panel().toStdString();
    EXPECT_TRUE(Errors.isEmpty()) << "no error box for a network error: " << Errors.join(" | ").toStdString();
}
