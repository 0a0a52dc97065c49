#pragma once

#include "log/DateTime.h"
#include "protocol/TBusContext.h"
#include "protocol/TBusPace.h"
#include "protocol/TPollProtocol.h"
#include "serial/TBusTransport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>

class TBusTransport;
class TDataLog;
class TEventLog;
class TSearchCursor;
struct TDiagCounters;
struct TSettings;
struct TUpsInfo;

// The master of the RS485 bus. A 100 ms timer drives the request cycle:
// build a request with the selected protocol, send it on the next tick, wait
// 10 ticks, resend while MaxReSend allows, give up, build the next. Every
// received block is decoded by the same protocol and, when valid, runs the
// link supervision and change detection of the record of PollAddr. The
// engine also writes the periodic data log. Everything runs on the main
// thread. The Trace window is a view on this object.
//
// With PollMode 1 the bus sets the pace instead: the same request cycle
// (PollStep) runs whenever the line is free rather than on the tick. A
// reply is taken as soon as its frame is complete, a valid one ends the
// wait, and the next request goes out after the line's inter-frame
// silence; a request unanswered within ReplyTimeout after it has left the
// line is sent again while MaxReSend allows. An invalid block does not end
// the wait early: on a shared line it may have been another unit's, and the
// reply asked for may still come. The tick only starts the cycle when
// nothing is under way.
//
// Under both paces a block that began arriving before the request it would
// answer was sent is no reply to it: it is counted and not decoded.
class TPollEngine : public QObject {
    Q_OBJECT

public:
    static constexpr int kTimerInterval = 100; // ms
    static constexpr std::uint8_t kWaitTicks = 10;

    // Which object serves a Protocol setting.
    enum TProtocolSlot { YdtV31Slot = 0, RorizuSlot = 1, ModbusSlot = 2, kProtocolSlots = 3 };

    // PollStepCode values: the branch the last poll step took.
    enum : std::uint8_t {
        StepStarted = 0,
        StepWaiting = 1,
        StepWaitOver = 2,
        StepIdle = 3,
        StepBuildPoll = 4,
        StepBuilt = 5,
        StepBuildProbe = 11,
        StepSearchEnded = 12,
    };

    // Milliseconds on the line clock, which the stamps of received blocks use.
    using TMsClock = std::function<qint64()>;

    TPollEngine(const TBusContext &context, TSettings &settings, TEventLog &eventLog,
                TDataLog &dataLog, TDiagCounters &diagCounters, TClock clock = LocalNow,
                QObject *parent = nullptr);
    ~TPollEngine() override;

    // Logs the program start, starts the poll timer and opens the port.
    // When the port cannot be opened, portOpenFailed carries the reason and
    // the engine idles until a later OpenPort succeeds.
    void Start();
    // Logs the program end, stops the timer and closes the port. Runs once;
    // the destructor calls it when nobody did.
    void Shutdown();

    // Closes the port if open, applies the port settings and opens it.
    // Throws ECommsError when the port cannot be opened. A ComName that names
    // no port opens nothing and raises nothing.
    void OpenPort();
    void ClosePort();
    bool PortOpened() const;

    // One timer tick: diagnostic counters, a poll step while the port is
    // open, the data log at its interval.
    void Timer1Timer();
    // One step of the request state machine.
    void PollStep();
    // One received block, as the serial port delivered it; startedMs is
    // when its first byte arrived, on the line clock (now when not given).
    void Comm1ReceiveData(const std::uint8_t *buffer, int length);
    void Comm1ReceiveData(const std::uint8_t *buffer, int length, qint64 startedMs);
    // Hands a frame to the serial port; used by the poll step and by the
    // Trace window's manual send.
    void SendFrame(const std::uint8_t *data, int length);
    // One data log record per online device, in DeviceList order.
    void WriteDataLog(TDateTime time);

    // True while PollMode asks for the pace of the bus.
    bool PacedByBus() const;
    // At the pace of the bus: the line is free. Runs the request cycle on
    // until a request is on the line or there is nothing to send.
    void StepAtBusPace();
    // At the pace of the bus: the request on the line got no reply in time.
    void ReplyTimedOut();
    // The first byte of a block has arrived.
    void ReplyStarted();
    const TBusPace &Pace() const { return FPace; }
    // For tests that set the time of the line themselves.
    void SetLineClock(TMsClock clock) { FLineClock = std::move(clock); }

    // The protocol object for a slot; the engine owns it.
    void InstallProtocol(TProtocolSlot slot, std::unique_ptr<TPollProtocol> protocol);
    // The object the Protocol setting selects; null for an unknown setting.
    TPollProtocol *SelectedProtocol() const;

    // The search window registers itself while it is open.
    void SetSearchCursor(TSearchCursor *cursor) { FSearchCursor = cursor; }

    // The way to the bus: the serial line or the network link the port
    // setting names (a serial line until a port is opened).
    TBusTransport &Comm1() { return *FComm; }
    const TBusTransport &Comm1() const { return *FComm; }
    const TBusContext &Context() const { return FContext; }
    // What the Trace window shows and clears besides the bus state.
    const TSettings &Settings() const { return FSettings; }
    TDiagCounters &DiagCounters() { return FDiagCounters; }
    const TDiagCounters &DiagCounters() const { return FDiagCounters; }

    bool TraceVisible = false;
    TDateTime LastLogTime = 0;
    std::int32_t LogElapsed = 0; // whole seconds since the last data log run

signals:
    void frameSent(const QByteArray &frame);
    void frameReceived(const QByteArray &block);
    void portStateChanged(bool opened);
    void portOpenFailed(const QString &message);
    // A network link to the bus came up, went down or is being retried.
    void linkStatusChanged(const TLinkStatus &status);
    // What the transport wrapped around the frame just sent or about to be
    // received (a Modbus TCP header), for the trace.
    void frameEnvelope(bool sent, const QByteArray &envelope);
    // Emitted on each tick while the Trace window is shown.
    void traceRefreshDue();
    // Emitted at the end of every tick of the engine's timer: the engine is
    // alive (the service watchdog is fed from it).
    void timerStepDone();

private:
    static constexpr qint64 kNotSent = std::numeric_limits<qint64>::max();

    void OnPortFailure();
    // Makes `transport` the way to the bus, wired to the engine.
    void InstallTransport(std::unique_ptr<TBusTransport> transport);
    // Sends the pending request and starts the wait for its reply.
    void TransmitRequest();
    // What a block that may answer the request on the line does to the
    // cycle at the pace of the bus.
    void AfterBlockAtBusPace(bool validReply);
    // The length of the complete reply frame a block begins with, at the
    // pace of the bus; the fixed pace leaves every block to the silence.
    int CompleteReplyLength(QByteArrayView block) const;
    // The waits of the bus pace, at the port's line settings.
    int ReplyWaitMs() const;
    int ReplyBlockBoundMs() const;
    int LineGapMs() const;
    int PortStopBits() const;
    // Times the poll rounds: called after each request was built.
    void NoteRoundBoundary();
    // The record of an address, or null for one beyond the table (a device
    // file can name addresses the table does not have).
    TUpsInfo *RecordOf(int addr) const;

    TBusContext FContext;
    TSettings &FSettings;
    TEventLog &FEventLog;
    TDataLog &FDataLog;
    TDiagCounters &FDiagCounters;
    TClock FClock;
    TSearchCursor *FSearchCursor = nullptr;
    std::unique_ptr<TBusTransport> FComm;
    QTimer FTimer1;
    TBusPace FPace;
    TMsClock FLineClock;
    // When the first frame since the current request was built went out;
    // a block that began before it answers something else.
    qint64 FRequestSentMs = kNotSent;
    // When the reply to the request on the line is given up at the latest.
    qint64 FReplyDeadlineMs = 0;
    std::array<std::unique_ptr<TPollProtocol>, kProtocolSlots> FProtocols;
    bool FStarted = false;
    bool FShutDown = false;
    quint32 FRoundsSeen = 0;
    QElapsedTimer FRoundClock;
};
