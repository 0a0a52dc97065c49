#include "protocol/TPollEngine.h"

#include "app/TSettings.h"
#include "log/TDataLog.h"
#include "log/TDataRec.h"
#include "log/TEventLog.h"
#include "model/TDeviceList.h"
#include "model/TUpsInfoTable.h"
#include "model/UpsInfoRules.h"
#include "protocol/TCommDebug.h"
#include "protocol/TDiagCounters.h"
#include "protocol/TEngineState.h"
#include "protocol/TMModbus.h"
#include "protocol/TRorizuProtocol.h"
#include "protocol/TSearchCursor.h"
#include "protocol/TYdtV31Protocol.h"
#include "serial/ComPortName.h"
#include "serial/ECommsError.h"
#include "serial/LineTiming.h"
#include "protocol/BusTransports.h"
#include "serial/TComm.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr std::uint8_t kLedOn = 3;
constexpr std::uint8_t kPending = 255;
constexpr double kMsPerDay = 86400000.0;

// Whole seconds between two stamps, without sign. Saturates rather than
// wrapping: the first tick after start measures from day 0, more than a
// 32-bit count of seconds.
std::int32_t WholeSecondsBetween(TDateTime a, TDateTime b)
{
    const double ms = std::round(std::fabs(b - a) * kMsPerDay);
    const double seconds = std::floor(ms / 1000.0);
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::min(seconds, kMax));
}

} // namespace

TPollEngine::TPollEngine(const TBusContext &context, TSettings &settings, TEventLog &eventLog,
                         TDataLog &dataLog, TDiagCounters &diagCounters, TClock clock,
                         QObject *parent)
    : QObject(parent)
    , FContext(context)
    , FSettings(settings)
    , FEventLog(eventLog)
    , FDataLog(dataLog)
    , FDiagCounters(diagCounters)
    , FClock(std::move(clock))
    , FLineClock(LineClockMs)
{
    FContext.Engine.ManualSendMode = 0;
    FContext.Engine.SearchMode = 0;
    InstallProtocol(YdtV31Slot, std::make_unique<TYdtV31Protocol>(FContext));
    InstallProtocol(RorizuSlot, std::make_unique<TRorizuProtocol>(FContext));
    InstallProtocol(ModbusSlot, std::make_unique<TMModbus>(FContext));

    FTimer1.setInterval(kTimerInterval);
    connect(&FTimer1, &QTimer::timeout, this, &TPollEngine::Timer1Timer);
    InstallTransport(std::make_unique<TComm>());
    connect(&FPace, &TBusPace::replyTimedOut, this, &TPollEngine::ReplyTimedOut);
    connect(&FPace, &TBusPace::lineFree, this, &TPollEngine::StepAtBusPace);
}

TPollEngine::~TPollEngine()
{
    if (FStarted)
        Shutdown();
}

void TPollEngine::Start()
{
    FStarted = true;
    FEventLog.LogSoftwareEvent(0);
    FTimer1.start();
    try {
        OpenPort();
    } catch (const ECommsError &error) {
        emit portOpenFailed(QString::fromUtf8(error.what()));
    }
}

void TPollEngine::Shutdown()
{
    if (FShutDown)
        return;
    FShutDown = true;
    // Errors on the way out are of no use to anyone.
    try {
        FEventLog.LogSoftwareEvent(1);
    } catch (...) {
    }
    FTimer1.stop();
    FPace.Stop();
    FComm->Close();
}

void TPollEngine::InstallTransport(std::unique_ptr<TBusTransport> transport)
{
    FComm = std::move(transport);
    TBusTransport *comm = FComm.get();
    connect(comm, &TBusTransport::OnReceiveData, this, [this](const QByteArray &block, qint64 startedMs) {
        Comm1ReceiveData(reinterpret_cast<const std::uint8_t *>(block.constData()),
                         static_cast<int>(block.size()), startedMs);
    });
    connect(comm, &TBusTransport::OnReceiveStarted, this, &TPollEngine::ReplyStarted);
    connect(comm, &TBusTransport::OnRequestHangup, this, &TPollEngine::OnPortFailure);
    connect(comm, &TBusTransport::OnStrayFrame, this, [this] { ++FContext.Debug.StrayReplyCnt; });
    connect(comm, &TBusTransport::OnFrameEnvelope, this, &TPollEngine::frameEnvelope);
    connect(comm, &TBusTransport::OnLinkStatusChanged, this, &TPollEngine::linkStatusChanged);
    comm->SetFrameEnd([this](QByteArrayView block) { return CompleteReplyLength(block); });
}

void TPollEngine::OpenPort()
{
    ClosePort();
    TPortInfo &port = FSettings.PortInfo;
    if (port.StopBits != 2)
        port.StopBits = 1;
    if (!ComNameOpensPort(port.ComName))
        return;
    InstallTransport(MakeBusTransport(port));
    FComm->SetCommName(port.ComName);
    FComm->SetBaudRate(port.BaudRate);
    FComm->SetReadIntervalTimeout(port.ReadIntervalTimeout);
    FComm->SetStopBits(port.StopBits == 2 ? TStopBits::_2 : TStopBits::_1);
    FComm->Open();
    emit portStateChanged(true);
}

void TPollEngine::ClosePort()
{
    FPace.Stop();
    if (!PortOpened())
        return;
    FComm->Close();
    emit portStateChanged(false);
}

bool TPollEngine::PortOpened() const
{
    return FComm->IsOpen();
}

void TPollEngine::OnPortFailure()
{
    // The device is gone (an unplugged adapter) and the component has
    // closed the port; polling stays off until the user opens it again.
    FPace.Stop();
    FComm->Close();
    emit portStateChanged(false);
}

void TPollEngine::InstallProtocol(TProtocolSlot slot, std::unique_ptr<TPollProtocol> protocol)
{
    FProtocols.at(slot) = std::move(protocol);
}

TPollProtocol *TPollEngine::SelectedProtocol() const
{
    switch (FSettings.PortInfo.Protocol) {
    case 0: return FProtocols[YdtV31Slot].get();
    case 1: return FProtocols[RorizuSlot].get();
    case 2:
    case 3: return FProtocols[ModbusSlot].get();
    default: return nullptr;
    }
}

TUpsInfo *TPollEngine::RecordOf(int addr) const
{
    return FContext.UpsInfo.Find(addr);
}

void TPollEngine::Timer1Timer()
{
    FDiagCounters[1] = kTimerInterval;
    FDiagCounters[11] += 1;
    if (PortOpened()) {
        if (!PacedByBus()) {
            FPace.Stop();
            PollStep();
        } else if (FPace.Idle()) {
            // Nothing under way (just opened, nothing to send last time, or
            // the pace just chosen): the cycle starts again from here.
            StepAtBusPace();
        }
    }
    if (TraceVisible)
        emit traceRefreshDue();
    if (FSettings.RecInterval > 0) {
        const TDateTime now = FClock();
        LogElapsed = WholeSecondsBetween(LastLogTime, now);
        if (LogElapsed >= FSettings.RecInterval / 10) {
            LastLogTime = TruncateToSecond(now);
            WriteDataLog(LastLogTime);
        }
    }
    emit timerStepDone();
}

void TPollEngine::PollStep()
{
    TEngineState &engine = FContext.Engine;
    engine.PollStepCode = StepStarted;

    if (engine.ReqPending != 0) {
        if (engine.WaitTicks > 0) {
            --engine.WaitTicks;
            engine.PollStepCode = StepWaiting;
            return;
        }
        engine.PollStepCode = StepWaitOver;
        ++engine.SendCount;
        if (engine.SendCount < engine.MaxSend) {
            TransmitRequest();
            return;
        }
        engine.ReqPending = 0;
        return;
    }

    engine.PollStepCode = StepIdle;
    engine.SendCount = 0;
    engine.WaitTicks = 0;
    engine.TxLen = 0;
    if (engine.ManualSendMode != 0)
        return;

    if (engine.SearchMode != 0) {
        engine.PollStepCode = StepBuildProbe;
        if (FSearchCursor)
            engine.SearchAddr = FSearchCursor->NextSearchAddr();
        else
            engine.SearchMode = 0; // nobody runs the search any more
        if (engine.SearchMode == 0) {
            engine.PollStepCode = StepSearchEnded;
            return;
        }
    } else {
        engine.PollStepCode = StepBuildPoll;
    }

    if (TPollProtocol *protocol = SelectedProtocol()) {
        // Whatever the protocol was waiting for, it now waits for the reply
        // to this request, which has not been sent yet.
        FRequestSentMs = kNotSent;
        protocol->BuildRequest();
        NoteRoundBoundary();
        engine.TxLen = std::clamp(protocol->FrameLength(), 0, TEngineState::TxBufSize);
        engine.PollAddr = static_cast<std::uint8_t>(protocol->CurrentAddress());
    }
    if (engine.TxLen > 0) {
        engine.PollStepCode = StepBuilt;
        engine.ReqPending = kPending;
        engine.MaxSend = FSettings.PortInfo.MaxReSend;
    }
}

void TPollEngine::TransmitRequest()
{
    TEngineState &engine = FContext.Engine;
    SendFrame(engine.TxBuf.data(), engine.TxLen);
    // At the pace of the bus the reply, not the tick, ends the wait.
    engine.WaitTicks = PacedByBus() ? 0 : kWaitTicks;
    if (TUpsInfo *rec = RecordOf(engine.PollAddr))
        CountTransmission(*rec, FEventLog);
    if (PacedByBus()) {
        const int waitMs = ReplyWaitMs();
        FReplyDeadlineMs = FLineClock() + waitMs;
        FPace.AwaitReply(waitMs);
    }
}

void TPollEngine::Comm1ReceiveData(const std::uint8_t *buffer, int length)
{
    Comm1ReceiveData(buffer, length, FLineClock());
}

void TPollEngine::Comm1ReceiveData(const std::uint8_t *buffer, int length, qint64 startedMs)
{
    TEngineState &engine = FContext.Engine;
    ++FContext.Debug.AckCnt;
    engine.RxLed = kLedOn;

    length = std::clamp(length, 0, TEngineState::RxBufSize);
    if (length > 0)
        std::memcpy(engine.RxBuf.data(), buffer, static_cast<std::size_t>(length));
    emit frameReceived(QByteArray(reinterpret_cast<const char *>(engine.RxBuf.data()), length));

    const std::uint8_t addr = engine.PollAddr;
    TUpsInfo *rec = RecordOf(addr);
    // A reply cannot begin before its request was sent: this block is the
    // late reply to an earlier request, and decoded as the answer to the
    // one in flight its values would land in the wrong fields.
    if (startedMs < FRequestSentMs) {
        ++FContext.Debug.StrayReplyCnt;
        ++FContext.Debug.InvalidFrameCnt[0];
        ++FContext.Debug.RepliesInvalidTotal;
        if (rec)
            CountReceive(*rec);
        if (PacedByBus())
            AfterBlockAtBusPace(false);
        return;
    }

    TPollProtocol *protocol = SelectedProtocol();
    const bool valid = protocol && protocol->DecodeReply(engine.RxBuf.data(), length);

    if (!valid) {
        ++FContext.Debug.InvalidFrameCnt[0];
        ++FContext.Debug.RepliesInvalidTotal;
    } else {
        ++FContext.Debug.RepliesValidTotal;
        if (rec) {
            rec->LastReplyMs = QDateTime::currentMSecsSinceEpoch();
            NoteValidReply(*rec, FEventLog);
            CheckStateChange(*rec, FEventLog);
            CompareAlarms(*rec, FEventLog);
            if (engine.SearchMode != 0 && FSearchCursor)
                FSearchCursor->AddressFound(addr);
        }
    }
    if (rec)
        CountReceive(*rec);
    if (PacedByBus())
        AfterBlockAtBusPace(valid);
}

void TPollEngine::SendFrame(const std::uint8_t *data, int length)
{
    length = std::clamp(length, 0, TEngineState::TxBufSize);
    const QByteArray frame(reinterpret_cast<const char *>(data), length);
    // Stamped before it leaves, so that no byte of its reply is older.
    if (FRequestSentMs == kNotSent)
        FRequestSentMs = FLineClock();
    FComm->SendData(frame);
    FContext.Engine.TxLed = kLedOn;
    emit frameSent(frame);
    ++FContext.Debug.SendCnt;
    ++FContext.Debug.FramesSentTotal;
}

void TPollEngine::NoteRoundBoundary()
{
    const quint32 rounds = FContext.DeviceList.RoundsBegun();
    if (rounds == FRoundsSeen)
        return;
    FRoundsSeen = rounds;
    // The first boundary only starts the clock: what came before it was no
    // full round.
    if (FRoundClock.isValid())
        FContext.Engine.LastRoundMs = FRoundClock.restart();
    else
        FRoundClock.start();
}

void TPollEngine::WriteDataLog(TDateTime time)
{
    const TDeviceList &devices = FContext.DeviceList;
    for (int position = 1; position <= devices.Count(); ++position) {
        const TUpsInfo *rec = RecordOf(devices.At(position)->Addr);
        if (rec && rec->LinkState == kLinkOnline)
            FDataLog.AppendRecord(TDataRec::FromUpsInfo(time, *rec));
    }
}

bool TPollEngine::PacedByBus() const
{
    return FSettings.PortInfo.PacedByBus();
}

void TPollEngine::StepAtBusPace()
{
    if (!PortOpened() || !PacedByBus())
        return;
    FPace.Stop();
    TEngineState &engine = FContext.Engine;
    // After a wait that ran out: one step resends or gives up, one builds
    // the next request, one sends it.
    for (int step = 0; step < 3 && !FPace.AwaitingReply(); ++step) {
        const bool wasPending = engine.ReqPending != 0;
        PollStep();
        if (!wasPending && engine.ReqPending == 0)
            return; // nothing to send: the next tick looks again
    }
}

void TPollEngine::ReplyTimedOut()
{
    StepAtBusPace();
}

void TPollEngine::ReplyStarted()
{
    // Its end comes with the block: the frame completes, the line falls
    // silent, or the block reaches its size limit.
    if (PacedByBus())
        FPace.ExtendReplyWait(std::max(ReplyBlockBoundMs(), static_cast<int>(FReplyDeadlineMs - FLineClock())));
}

void TPollEngine::AfterBlockAtBusPace(bool validReply)
{
    TEngineState &engine = FContext.Engine;
    if (validReply && engine.ReqPending != 0) {
        engine.ReqPending = 0;
        // Answered once: what arrives before the next request answers nothing.
        FRequestSentMs = kNotSent;
        FPace.StopAwaitingReply();
        FPace.FreeLineAfter(LineGapMs());
    } else if (FPace.AwaitingReply()) {
        // Garbage, a damaged frame or another request's reply: it may have
        // been some other unit's, and the reply asked for may still come.
        // The wait goes on to its time-out, which sends the request again.
        FPace.AwaitReply(std::max(LineGapMs(), static_cast<int>(FReplyDeadlineMs - FLineClock())));
    } else if (FPace.FreeingLine()) {
        FPace.FreeLineAfter(LineGapMs()); // the line was busy again
    }
}

int TPollEngine::CompleteReplyLength(QByteArrayView block) const
{
    const TPollProtocol *protocol = SelectedProtocol();
    if (!PacedByBus() || protocol == nullptr)
        return TPollProtocol::kNotAFrame;
    return protocol->CompleteFrameLength(reinterpret_cast<const std::uint8_t *>(block.data()),
                                         static_cast<int>(block.size()));
}

int TPollEngine::PortStopBits() const
{
    return FComm->StopBits() == TStopBits::_2 ? 2 : 1;
}

int TPollEngine::ReplyWaitMs() const
{
    const std::int32_t timeout = std::clamp(FSettings.PortInfo.ReplyTimeout, TPortInfo::kMinReplyTimeout,
                                            TPortInfo::kMaxReplyTimeout);
    return WholeMsUp(WireTimeMs(FContext.Engine.TxLen, FComm->BaudRate(), PortStopBits())) + timeout;
}

int TPollEngine::ReplyBlockBoundMs() const
{
    return FComm->ReadIntervalTimeout()
           + WholeMsUp(WireTimeMs(TEngineState::RxBufSize, FComm->BaudRate(), PortStopBits()));
}

int TPollEngine::LineGapMs() const
{
    return WholeMsUp(InterFrameGapMs(FComm->BaudRate(), PortStopBits()));
}
