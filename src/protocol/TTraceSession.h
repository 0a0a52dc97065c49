#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstdint>

class TPollEngine;

// What the Trace window does to the polling engine, without the window:
// showing and leaving it, the send mode, the manual send, the counters it
// shows and clears, and the debug display switch. The window is a view on
// this and on the engine's frameSent, frameReceived and traceRefreshDue.
class TTraceSession {
public:
    // Outcome of a manual send.
    enum class TSendResult {
        Sent,
        TooLong, // more bytes than TxBuf holds; nothing was sent
    };

    explicit TTraceSession(TPollEngine &engine);

    // The window is shown: the engine reports frames and refresh ticks.
    void Shown();
    // The window is closed or hidden: nothing more is reported, and polling
    // resumes, so leaving the window never leaves the bus silent.
    void Hidden();
    bool Visible() const;

    // "Manual" stops the building of poll requests; "Auto" resumes it.
    void SetManualMode(bool manual);
    bool ManualMode() const;

    // Sends the bytes the hex text spells (anything that is not a hex digit
    // is dropped) once, at once, through the engine's transmit buffer.
    TSendResult ManualSend(QByteArrayView hexText);

    // "Clear": the exchange and failure counters back to 0.
    void ClearExchangeCounters();
    // A double click on the grid: the diagnostic counters and the invalid
    // frame counters back to 0.
    void ClearDiagnostics();

    void SetDebugShow(bool on);
    bool DebugShow() const;

    // Recomputes the reply rate; the engine tick calls for it while shown.
    void RefreshRate();

    // The value of an engine variable by its grid code; 0 for codes that
    // name nothing.
    std::int32_t VariableValue(int code) const;

    // "Send:..;  AcK:..;  AckOK:..;  Rate:.." as of the last RefreshRate.
    QString CommInfoText() const;
    // "A:n; " for each ASCII frame check that failed at least once, then
    // "G:n; " when replies to other requests were turned away.
    QString CommErrText() const;

    std::int32_t ResendCount() const;
    std::int32_t SecondsSinceDataLog() const;

private:
    TPollEngine &FEngine;
};
