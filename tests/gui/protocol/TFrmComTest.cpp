#include "gui/protocol/TFrmCom.h"

#include "support/EngineOnPty.h"
#include "support/EventWait.h"
#include "support/UpsSimProcess.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class TraceWindow : public ::testing::Test
{
protected:
    EngineOnPty Bus;
    TFrmCom Window{Bus.Poll};
    QStringList Messages;

    TraceWindow()
    {
        Window.ShowMessage = [this](const QString &text) { Messages << text; };
    }

    template <typename T = QWidget>
    T *Find(const char *name) const
    {
        T *control = Window.findChild<T *>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    QString Pane(const char *name) const { return Find<QPlainTextEdit>(name)->toPlainText(); }
    int PaneLines(const char *name) const { return Find<QPlainTextEdit>(name)->document()->blockCount(); }
    QString Cell(int row, int column) const { return Find<QTableWidget>("strGrdDbg")->item(row, column)->text(); }

    void ChooseManual()
    {
        Find<QRadioButton>("rgSendModeManual")->click();
    }

    void SendTyped(const QString &text)
    {
        Find<QLineEdit>("edtTx")->setText(text);
        Find<QPushButton>("btnMSend")->click();
    }
};

} // namespace

TEST_F(TraceWindow, ManualFrameToTheSimulatorAndItsReplyAppearInThePanes)
{
    UpsSimProcess sim;
    ASSERT_TRUE(sim.Start({"--protocol", "modbus", "--units", "1", "--steady"})) << sim.ErrorText().toStdString();
    Bus.Settings.PortInfo.ComName = sim.PortPath();
    Bus.Poll.OpenPort();
    Window.show();
    ChooseManual();

    SendTyped("01 04 75 30 00 0E 6B CD");
    EXPECT_EQ(Pane("MemoTx"), "01 04 75 30 00 0E 6B CD ");
    ASSERT_TRUE(WaitUntil([&] { return !Pane("MemoRx").isEmpty(); }));
    // Unit 1 answers the 14 input registers: 28 data bytes behind 01 04 1C.
    EXPECT_TRUE(Pane("MemoRx").startsWith("01 04 1C ")) << Pane("MemoRx").toStdString();
    EXPECT_EQ(Pane("MemoRx").size(), (3 + 28 + 2) * 3);

    Window.RefreshTrace();
    EXPECT_TRUE(Find<QLabel>("lb_CommInfo")->text().startsWith("Send:1;  AcK:1;  AckOK:"))
        << Find<QLabel>("lb_CommInfo")->text().toStdString();
}

TEST_F(TraceWindow, SendModeGovernsTheManualControlsAndClosingReturnsToAuto)
{
    Window.show();
    EXPECT_TRUE(Bus.Poll.TraceVisible);
    EXPECT_TRUE(Find<QRadioButton>("rgSendModeAuto")->isChecked());
    EXPECT_FALSE(Find<QLineEdit>("edtTx")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("btnMSend")->isEnabled());

    ChooseManual();
    EXPECT_EQ(Bus.Engine.ManualSendMode, 255);
    EXPECT_TRUE(Find<QLineEdit>("edtTx")->isEnabled());
    EXPECT_TRUE(Find<QPushButton>("btnMSend")->isEnabled());

    Window.close();
    EXPECT_FALSE(Bus.Poll.TraceVisible);
    EXPECT_EQ(Bus.Engine.ManualSendMode, 0);
    EXPECT_TRUE(Find<QRadioButton>("rgSendModeAuto")->isChecked());
    EXPECT_FALSE(Find<QPushButton>("btnMSend")->isEnabled());

    // Hidden, the window takes no more lines.
    Bus.Poll.SendFrame(reinterpret_cast<const std::uint8_t *>("\x01\x02"), 2);
    EXPECT_EQ(Pane("MemoTx"), "");
}

TEST_F(TraceWindow, OverlongFrameIsRefusedWithAMessage)
{
    Window.show();
    ChooseManual();
    SendTyped(QString(2 * 257, QLatin1Char('A')));
    EXPECT_EQ(Messages, QStringList{"The frame is longer than 256 bytes and was not sent."});
    EXPECT_TRUE(Bus.Sent.empty());
    EXPECT_EQ(Pane("MemoTx"), "");
}

TEST_F(TraceWindow, PanesShowEitherFormatAndEmptyPastFourHundredLines)
{
    Window.show();
    const QByteArray ydt = "~20014A42E00201FD23\r";
    Find<QCheckBox>("checkbox1")->setChecked(false);
    Window.ShowRxFrame(ydt);
    // The closing carriage return breaks the line.
    EXPECT_EQ(Pane("MemoRx"), "~20014A42E00201FD23\n");
    EXPECT_EQ(PaneLines("MemoRx"), 2);

    Find<QPlainTextEdit>("MemoRx")->clear();
    Find<QCheckBox>("checkbox1")->setChecked(true);
    for (int i = 0; i < 401; ++i)
        Window.ShowRxFrame("\x01");
    EXPECT_EQ(PaneLines("MemoRx"), 401);
    Window.ShowRxFrame("\x02");
    EXPECT_EQ(Pane("MemoRx"), "02 ");

    // Activation under Modbus turns both panes back to hex; under the ASCII
    // protocols it leaves them as they are.
    Find<QCheckBox>("checkbox1")->setChecked(false);
    Find<QCheckBox>("CheckBox2")->setChecked(false);
    Bus.Settings.PortInfo.Protocol = 0;
    Window.FormActivate();
    EXPECT_FALSE(Find<QCheckBox>("checkbox1")->isChecked());
    Bus.Settings.PortInfo.Protocol = 3;
    Window.FormActivate();
    EXPECT_TRUE(Find<QCheckBox>("checkbox1")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("CheckBox2")->isChecked());
}

TEST_F(TraceWindow, ClearButtonAndDoubleClicks)
{
    Window.show();
    Window.ShowRxFrame("\x01");
    Window.ShowTxFrame("\x02");
    Bus.Debug.SendCnt = 4;
    Bus.Debug.ErrCnt[5] = 2;
    Bus.Diag[10] = 9;

    Find<QPushButton>("btnClrRx")->click();
    EXPECT_EQ(Pane("MemoRx"), "");
    EXPECT_EQ(Pane("MemoTx"), "02 ");
    Window.RefreshTrace();
    EXPECT_EQ(Find<QLabel>("lb_CommInfo")->text(), "Send:0;  AcK:0;  AckOK:0;  Rate:0.0");
    EXPECT_EQ(Find<QLabel>("lb_CommErr")->text(), "");
    EXPECT_EQ(Bus.Diag[10], 9);

    QTest::mouseDClick(Find<QPlainTextEdit>("MemoTx")->viewport(), Qt::LeftButton);
    EXPECT_EQ(Pane("MemoTx"), "");
    QTest::mouseDClick(Find<QTableWidget>("strGrdDbg")->viewport(), Qt::LeftButton);
    EXPECT_EQ(Bus.Diag[10], 0);
}

TEST_F(TraceWindow, GridShowsOneHundredCodesFromTheFirstCode)
{
    Bus.UpsInfo[0].TxCnt = 40;
    Bus.UpsInfo[9].TxCnt = 49;
    Window.show();
    Find<QSpinBox>("medtAddr")->setValue(200);
    EXPECT_EQ(Cell(0, 0), "200");
    EXPECT_EQ(Cell(0, 1), "40");
    EXPECT_EQ(Cell(9, 1), "49");
    EXPECT_EQ(Cell(99, 0), "299");

    Find<QCheckBox>("chkHex")->setChecked(true);
    EXPECT_EQ(Cell(0, 1), "0028");
    EXPECT_EQ(Find<QSpinBox>("medtAddr")->maximum(), 9000);

    // The engine's tick refreshes the window while it is shown.
    Bus.UpsInfo[0].TxCnt = 41;
    Bus.Debug.SendCnt = 3;
    Bus.Poll.Timer1Timer();
    EXPECT_EQ(Cell(0, 1), "0029");
    EXPECT_TRUE(Find<QLabel>("lb_CommInfo")->text().startsWith("Send:3;"));
}

TEST_F(TraceWindow, DebugShowFollowsTheBoxAndTheFlag)
{
    Bus.Debug.DebugShow = 255;
    Window.show();
    EXPECT_TRUE(Find<QCheckBox>("chkDbgShow")->isChecked());
    Find<QCheckBox>("chkDbgShow")->setChecked(false);
    EXPECT_EQ(Bus.Debug.DebugShow, 0);
    Find<QCheckBox>("chkDbgShow")->setChecked(true);
    EXPECT_EQ(Bus.Debug.DebugShow, 255);
}
