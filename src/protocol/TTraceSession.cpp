#include "protocol/TTraceSession.h"

#include "app/TSettings.h"
#include "model/TUpsInfoTable.h"
#include "model/ValueFormat.h"
#include "protocol/TCommDebug.h"
#include "protocol/TDiagCounters.h"
#include "protocol/TEngineState.h"
#include "protocol/TPollEngine.h"
#include "serial/HexHelpers.h"
#include "serial/TBusTransport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr std::uint8_t kOn = 255;

std::int32_t Flag(std::uint8_t value)
{
    return value != 0 ? 1 : 0;
}

// Large counters make percentages beyond 32 bits; the grid shows the
// nearest value it can hold.
std::int32_t Saturated(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::trunc(value), kMin, kMax));
}

std::int32_t AckPercent(const TCommDebug &debug)
{
    if (debug.SendCnt == 0)
        return 0;
    return Saturated(static_cast<double>(static_cast<std::int64_t>(debug.AckCnt) * 100 / debug.SendCnt));
}

} // namespace

TTraceSession::TTraceSession(TPollEngine &engine) : FEngine(engine)
{
}

void TTraceSession::Shown()
{
    FEngine.TraceVisible = true;
}

void TTraceSession::Hidden()
{
    FEngine.TraceVisible = false;
    SetManualMode(false);
}

bool TTraceSession::Visible() const
{
    return FEngine.TraceVisible;
}

void TTraceSession::SetManualMode(bool manual)
{
    FEngine.Context().Engine.ManualSendMode = manual ? kOn : 0;
}

bool TTraceSession::ManualMode() const
{
    return FEngine.Context().Engine.ManualSendMode != 0;
}

TTraceSession::TSendResult TTraceSession::ManualSend(QByteArrayView hexText)
{
    const QByteArray frame = HexTextToBytes(hexText);
    // A frame cut to the buffer would reach the bus as something the
    // technician did not type; it is refused whole instead.
    if (frame.size() > TEngineState::TxBufSize)
        return TSendResult::TooLong;
    TEngineState &engine = FEngine.Context().Engine;
    if (!frame.isEmpty())
        std::memcpy(engine.TxBuf.data(), frame.constData(), static_cast<std::size_t>(frame.size()));
    engine.TxLen = static_cast<std::int32_t>(frame.size());
    FEngine.SendFrame(engine.TxBuf.data(), engine.TxLen);
    return TSendResult::Sent;
}

void TTraceSession::ClearExchangeCounters()
{
    FEngine.Context().Debug.ClearExchangeCounters();
}

void TTraceSession::ClearDiagnostics()
{
    FEngine.DiagCounters().Clear();
    FEngine.Context().Debug.InvalidFrameCnt.fill(0);
}

void TTraceSession::SetDebugShow(bool on)
{
    FEngine.Context().Debug.DebugShow = on ? kOn : 0;
}

bool TTraceSession::DebugShow() const
{
    return FEngine.Context().Debug.DebugShow != 0;
}

void TTraceSession::RefreshRate()
{
    FEngine.Context().Debug.RefreshRate();
}

std::int32_t TTraceSession::VariableValue(int code) const
{
    const TBusContext &bus = FEngine.Context();
    const TEngineState &engine = bus.Engine;
    const TCommDebug &debug = bus.Debug;
    const TPortInfo &port = FEngine.Settings().PortInfo;
    const TBusTransport &comm = FEngine.Comm1();

    if (code >= 110 && code <= 115)
        return debug.ErrCnt[static_cast<std::size_t>(code - 110)];
    if (code >= 200 && code <= 229) {
        const TUpsInfo &rec = bus.UpsInfo[(code - 200) % 10];
        switch ((code - 200) / 10) {
        case 0: return rec.TxCnt;
        case 1: return rec.OkCnt;
        default: return rec.RxCnt;
        }
    }
    if (code >= 300 && code < 300 + TDiagCounters::Count)
        return FEngine.DiagCounters()[code - 300];
    if (code >= 1000 && code <= 1100)
        return debug.InvalidFrameCnt[static_cast<std::size_t>(code - 1000)];

    switch (code) {
    case 21: return static_cast<std::int32_t>(comm.Handle());
    case 22: return comm.BaudRate();
    case 23: return comm.ReadIntervalTimeout();
    case 24:
    case 100: return debug.SendCnt;
    case 25:
    case 102: return debug.AckCnt;
    case 26:
    case 105: return AckPercent(debug);
    case 27: return port.WaitTimer;
    case 28: return port.MaxReSend;
    case 29: return port.CommErrCnt;
    case 30: return port.CommLostCnt;
    case 31: return port.PollMode;
    case 32: return port.ReplyTimeout;
    case 50: return Flag(engine.ReqPending);
    case 53: return engine.WaitTicks;
    case 54: return engine.SendCount;
    case 55: return engine.MaxSend;
    case 56: return engine.TxLen;
    case 57: return engine.PollStepCode;
    case 58: return port.Protocol;
    case 103: return debug.AckOkCnt;
    case 104: return Saturated(debug.Rate);
    case 116: return debug.StrayReplyCnt;
    default: return 0;
    }
}

QString TTraceSession::CommInfoText() const
{
    const TCommDebug &debug = FEngine.Context().Debug;
    return QStringLiteral("Send:%1;  AcK:%2;  AckOK:%3;  Rate:%4")
        .arg(debug.SendCnt)
        .arg(debug.AckCnt)
        .arg(debug.AckOkCnt)
        .arg(FormatFixedSignificant(debug.Rate, 5, 1));
}

QString TTraceSession::CommErrText() const
{
    const TCommDebug &debug = FEngine.Context().Debug;
    QString text;
    for (std::size_t i = 0; i < debug.ErrCnt.size(); ++i) {
        if (debug.ErrCnt[i] > 0)
            text += QStringLiteral("%1:%2; ").arg(QChar('A' + static_cast<int>(i))).arg(debug.ErrCnt[i]);
    }
    if (debug.StrayReplyCnt > 0)
        text += QStringLiteral("G:%1; ").arg(debug.StrayReplyCnt);
    return text;
}

std::int32_t TTraceSession::ResendCount() const
{
    return FEngine.Context().Engine.SendCount;
}

std::int32_t TTraceSession::SecondsSinceDataLog() const
{
    return FEngine.LogElapsed;
}
