#include "protocol/TTraceSession.h"

#include "model/TUpsInfoTable.h"
#include "protocol/TEngineState.h"
#include "protocol/TraceLines.h"
#include "support/EngineOnPty.h"
#include "support/EventWait.h"

#include <gtest/gtest.h>

namespace {

struct TraceSession : EngineOnPty {
    TTraceSession Trace{Poll};
};

} // namespace

TEST(TTraceSessionTest, ManualFrameGoesOutOnceThroughTheEngine)
{
    TraceSession f;
    f.Trace.Shown();
    f.Trace.SetManualMode(true);
    EXPECT_EQ(f.Trace.ManualSend("01 04 75 30 00 0e-6b,CD 7"), TTraceSession::TSendResult::Sent);

    const QByteArray frame = QByteArray::fromHex("01047530000E6BCD");
    EXPECT_EQ(f.Sent, std::vector<QByteArray>{frame});
    EXPECT_EQ(f.Engine.TxLen, 8);
    EXPECT_EQ(Bytes(f.Engine.TxBuf.data(), 8), frame);
    EXPECT_EQ(f.Debug.SendCnt, 1);
    EXPECT_EQ(f.Engine.TxLed, 3);
    QByteArray onLine;
    EXPECT_TRUE(WaitUntil([&] {
        onLine += f.Line.ReadAvailableFromMaster();
        return onLine.size() >= frame.size();
    }));
    EXPECT_EQ(onLine, frame);
}

TEST(TTraceSessionTest, FrameLongerThanTheTransmitBufferIsRefusedWhole)
{
    TraceSession f;
    f.Engine.TxBuf.fill(0x5A);
    const QByteArray tooLong = QByteArray(TEngineState::TxBufSize + 1, '\x11').toHex(' ');
    EXPECT_EQ(f.Trace.ManualSend(tooLong), TTraceSession::TSendResult::TooLong);
    EXPECT_TRUE(f.Sent.empty());
    EXPECT_EQ(f.Debug.SendCnt, 0);
    EXPECT_EQ(f.Engine.TxBuf.back(), 0x5A);

    const QByteArray full(TEngineState::TxBufSize, '\x22');
    EXPECT_EQ(f.Trace.ManualSend(full.toHex()), TTraceSession::TSendResult::Sent);
    ASSERT_EQ(f.Sent.size(), 1u);
    EXPECT_EQ(f.Sent.front(), full);
}

TEST(TTraceSessionTest, ManualModeStopsBuildingAndLeavingTheWindowResumesIt)
{
    TraceSession f;
    f.AddDevices({1});
    f.Trace.Shown();
    f.Trace.SetManualMode(true);
    EXPECT_EQ(f.Engine.ManualSendMode, 255);
    for (int i = 0; i < 30; ++i)
        f.Poll.PollStep();
    EXPECT_TRUE(f.Sent.empty());

    f.Trace.Hidden();
    EXPECT_FALSE(f.Poll.TraceVisible);
    EXPECT_EQ(f.Engine.ManualSendMode, 0);
    f.Poll.PollStep();
    f.Poll.PollStep();
    EXPECT_EQ(f.Sent.size(), 1u);
}

TEST(TTraceSessionTest, GridCodesNameTheEngineVariables)
{
    TraceSession f;
    f.Settings.PortInfo.BaudRate = 4800;
    f.Settings.PortInfo.ReadIntervalTimeout = 35;
    f.Settings.PortInfo.WaitTimer = 15;
    f.Settings.PortInfo.MaxReSend = 3;
    f.Settings.PortInfo.CommErrCnt = 5;
    f.Settings.PortInfo.CommLostCnt = 10;
    f.Settings.PortInfo.PollMode = 1;
    f.Settings.PortInfo.ReplyTimeout = 750;
    f.Poll.OpenPort(); // takes the line settings above
    f.Debug.SendCnt = 8;
    f.Debug.AckCnt = 7;
    f.Debug.AckOkCnt = 5;
    f.Debug.ErrCnt = {1, 2, 3, 4, 5, 6};
    f.Debug.InvalidFrameCnt[0] = 9;
    f.Debug.StrayReplyCnt = 4;
    f.Trace.RefreshRate();
    f.Engine.ReqPending = 255;
    f.Engine.WaitTicks = 4;
    f.Engine.SendCount = 1;
    f.Engine.MaxSend = 3;
    f.Engine.TxLen = 8;
    f.Engine.PollStepCode = 5;
    f.UpsInfo[0].TxCnt = 40;
    f.UpsInfo[9].TxCnt = 49;
    f.UpsInfo[3].OkCnt = 13;
    f.UpsInfo[7].RxCnt = 17;
    f.Diag[0] = 10;
    f.Diag[19] = 119;

    const struct {
        int code;
        std::int32_t value;
    } cases[] = {
        {22, 4800}, {23, 35},  {24, 8},   {100, 8},  {25, 7},   {102, 7},   {26, 87},  {105, 87},
        {27, 15},   {28, 3},   {29, 5},   {30, 10},  {50, 1},   {53, 4},    {54, 1},   {55, 3},
        {56, 8},    {57, 5},   {58, 2},   {103, 5},  {104, 62}, {110, 1},   {115, 6},  {200, 40},
        {209, 49},  {213, 13}, {227, 17}, {300, 10}, {319, 119}, {1000, 9}, {1001, 0}, {31, 1},
        {32, 750},  {116, 4},  {0, 0},    {20, 0},   {33, 0},   {117, 0},   {230, 0},  {320, 0},
        {1101, 0},  {9099, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(f.Trace.VariableValue(c.code), c.value) << "code " << c.code;
    EXPECT_NE(f.Trace.VariableValue(21), 0); // the open port's handle

    f.Poll.ClosePort();
    EXPECT_EQ(f.Trace.VariableValue(21), 0);
}

TEST(TTraceSessionTest, StatisticsAndFailureLines)
{
    TraceSession f;
    f.Trace.RefreshRate();
    EXPECT_EQ(f.Trace.CommInfoText(), "Send:0;  AcK:0;  AckOK:0;  Rate:0.0");
    EXPECT_EQ(f.Trace.CommErrText(), "");

    f.Debug.SendCnt = 3;
    f.Debug.AckCnt = 3;
    f.Debug.AckOkCnt = 2;
    f.Debug.ErrCnt = {0, 4, 0, 0, 0, 12};
    f.Trace.RefreshRate();
    EXPECT_EQ(f.Trace.CommInfoText(), "Send:3;  AcK:3;  AckOK:2;  Rate:66.7");
    EXPECT_EQ(f.Trace.CommErrText(), "B:4; F:12; ");
    f.Debug.StrayReplyCnt = 2;
    EXPECT_EQ(f.Trace.CommErrText(), "B:4; F:12; G:2; ");
    EXPECT_EQ(f.Trace.VariableValue(104), 66);

    // More replies than requests (a manual frame answered twice) still
    // gives a figure the grid can hold.
    f.Debug.SendCnt = 1;
    f.Debug.AckCnt = 2000000000;
    f.Debug.AckOkCnt = 2000000000;
    f.Trace.RefreshRate();
    EXPECT_EQ(f.Trace.VariableValue(26), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(f.Trace.VariableValue(104), std::numeric_limits<std::int32_t>::max());
}

TEST(TTraceSessionTest, ClearingTouchesOnlyItsOwnCounters)
{
    TraceSession f;
    f.Debug.SendCnt = 5;
    f.Debug.AckCnt = 4;
    f.Debug.AckOkCnt = 3;
    f.Debug.ErrCnt = {1, 1, 1, 1, 1, 1};
    f.Debug.StrayReplyCnt = 1;
    f.Debug.InvalidFrameCnt[0] = 2;
    f.Diag[10] = 77;

    f.Trace.ClearExchangeCounters();
    EXPECT_EQ(f.Trace.CommInfoText().left(26), "Send:0;  AcK:0;  AckOK:0; ");
    EXPECT_EQ(f.Trace.CommErrText(), "");
    EXPECT_EQ(f.Debug.InvalidFrameCnt[0], 2);
    EXPECT_EQ(f.Diag[10], 77);

    f.Trace.ClearDiagnostics();
    EXPECT_EQ(f.Debug.InvalidFrameCnt[0], 0);
    EXPECT_EQ(f.Diag[10], 0);
}

TEST(TraceLinesTest, FrameLinesInBothFormats)
{
    const QByteArray modbus = QByteArray::fromHex("01047530000E6BCD");
    EXPECT_EQ(TraceFrameLine(modbus, true), "01 04 75 30 00 0E 6B CD ");

    const QByteArray ydt = "~20014A42E00201FD23\r";
    EXPECT_EQ(TraceFrameLine(ydt, false), QString::fromLatin1(ydt));
    const QString del(QChar(0x7F));
    EXPECT_EQ(TraceFrameLine(QByteArray("a b\n\x01\xff/{", 8), false), "a" + del + "b\n" + del + del + del + del);
    EXPECT_EQ(TraceFrameLine({}, true), "");
}

TEST(TraceLinesTest, GridValueTexts)
{
    EXPECT_EQ(TraceValueText(300, true), "012C");
    EXPECT_EQ(TraceValueText(300, false), "300");
    EXPECT_EQ(TraceValueText(-1, true), "FFFF");
    EXPECT_EQ(TraceValueText(-1, false), "-1");
}
