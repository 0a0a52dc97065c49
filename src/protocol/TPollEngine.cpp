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
#include "serial/TComm.h"

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
    , FComm(std::make_unique<TComm>())
{
    FContext.Engine.ManualSendMode = 0;
    FContext.Engine.SearchMode = 0;
    InstallProtocol(YdtV31Slot, std::make_unique<TYdtV31Protocol>(FContext));
    InstallProtocol(RorizuSlot, std::make_unique<TRorizuProtocol>(FContext));
    InstallProtocol(ModbusSlot, std::make_unique<TMModbus>(FContext));

    FTimer1.setInterval(kTimerInterval);
    connect(&FTimer1, &QTimer::timeout, this, &TPollEngine::Timer1Timer);
    connect(FComm.get(), &TComm::OnReceiveData, this, [this](const QByteArray &block) {
        Comm1ReceiveData(reinterpret_cast<const std::uint8_t *>(block.constData()),
                         static_cast<int>(block.size()));
    });
    connect(FComm.get(), &TComm::OnRequestHangup, this, &TPollEngine::OnPortFailure);
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
    FComm->CloseComm();
}

void TPollEngine::OpenPort()
{
    ClosePort();
    TPortInfo &port = FSettings.PortInfo;
    if (port.StopBits != 2)
        port.StopBits = 1;
    if (!ComNameOpensPort(port.ComName))
        return;
    FComm->SetCommName(port.ComName);
    FComm->SetBaudRate(port.BaudRate);
    FComm->SetReadIntervalTimeout(port.ReadIntervalTimeout);
    FComm->SetStopBits(port.StopBits == 2 ? TStopBits::_2 : TStopBits::_1);
    FComm->OpenComm();
    emit portStateChanged(true);
}

void TPollEngine::ClosePort()
{
    if (!PortOpened())
        return;
    FComm->CloseComm();
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
    FComm->CloseComm();
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
    if (PortOpened())
        PollStep();
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
            SendFrame(engine.TxBuf.data(), engine.TxLen);
            engine.WaitTicks = kWaitTicks;
            if (TUpsInfo *rec = RecordOf(engine.PollAddr))
                CountTransmission(*rec, FEventLog);
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
        protocol->BuildRequest();
        engine.TxLen = std::clamp(protocol->FrameLength(), 0, TEngineState::TxBufSize);
        engine.PollAddr = static_cast<std::uint8_t>(protocol->CurrentAddress());
    }
    if (engine.TxLen > 0) {
        engine.PollStepCode = StepBuilt;
        engine.ReqPending = kPending;
        engine.MaxSend = FSettings.PortInfo.MaxReSend;
    }
}

void TPollEngine::Comm1ReceiveData(const std::uint8_t *buffer, int length)
{
    TEngineState &engine = FContext.Engine;
    ++FContext.Debug.AckCnt;
    engine.RxLed = kLedOn;

    length = std::clamp(length, 0, TEngineState::RxBufSize);
    if (length > 0)
        std::memcpy(engine.RxBuf.data(), buffer, static_cast<std::size_t>(length));
    emit frameReceived(QByteArray(reinterpret_cast<const char *>(engine.RxBuf.data()), length));

    TPollProtocol *protocol = SelectedProtocol();
    const bool valid = protocol && protocol->DecodeReply(engine.RxBuf.data(), length);
    const std::uint8_t addr = engine.PollAddr;
    TUpsInfo *rec = RecordOf(addr);

    if (!valid) {
        ++FContext.Debug.InvalidFrameCnt[0];
    } else if (rec) {
        NoteValidReply(*rec, FEventLog);
        CheckStateChange(*rec, FEventLog);
        CompareAlarms(*rec, FEventLog);
        if (engine.SearchMode != 0 && FSearchCursor)
            FSearchCursor->AddressFound(addr);
    }
    if (rec)
        CountReceive(*rec);
}

void TPollEngine::SendFrame(const std::uint8_t *data, int length)
{
    length = std::clamp(length, 0, TEngineState::TxBufSize);
    const QByteArray frame(reinterpret_cast<const char *>(data), length);
    FComm->SendData(frame);
    FContext.Engine.TxLed = kLedOn;
    emit frameSent(frame);
    ++FContext.Debug.SendCnt;
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
