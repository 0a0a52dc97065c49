#pragma once

#include "SimSlave.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QIODevice;
class QSocketNotifier;

// The wire side of the simulator: a pseudo-terminal, a serial device or one
// connection of a network server. A request ends, as on a real slave, when
// the line has been silent for the gap time, unless the stream has framing
// of its own (CutFramesBy). The reply goes out when a real line would carry
// it: after the request and the reply have taken their wire time at the
// line's baud rate and the unit its turnaround, and after the answering
// unit's delay, all counted from the request's first byte. A
// pseudo-terminal carries bytes at once; without this a benchmark on it
// would measure nothing real.
class SimPort : public QObject
{
    Q_OBJECT

public:
    SimPort(SimSlave &slave, int gapMs, QObject *parent = nullptr);
    ~SimPort() override;

    // Opens a new pseudo-terminal; slavePath is the device a master opens.
    bool OpenPty(QString *slavePath, QString *error);
    bool OpenDevice(const QString &device, int baud, QString *error);
    // Answers on an open byte stream, e.g. an accepted TCP connection, and
    // takes it over: it goes when the port goes.
    void AttachStream(QIODevice *stream);

    // Frames end where frameLength says instead of after a silence. It gets
    // the bytes received so far and returns the length of the complete frame
    // they begin with, 0 while more are needed, or -1 when the stream cannot
    // be trusted any longer, which closes the stream.
    void CutFramesBy(std::function<int(QByteArrayView)> frameLength) { m_frameLength = std::move(frameLength); }

    // The line's baud rate for the wire time, and the unit's turnaround in
    // ms. A baud rate of 0 leaves the wire time out.
    void SetLineTiming(int baud, int turnaroundMs)
    {
        m_baud = baud;
        m_turnaroundMs = turnaroundMs;
    }
    // When the reply to a request whose first byte arrived at requestStartMs
    // is due, on the port's clock.
    qint64 ReplyDueMs(qint64 requestStartMs, int requestBytes, int replyBytes, int delayMs) const;

    // Writes every frame received and sent to standard error, as hex bytes
    // or, for the ASCII protocols, as text.
    void SetTrace(bool on, bool asText)
    {
        m_trace = on;
        m_traceAsText = asText;
    }

    // Handles bytes as they arrive from the line.
    void Receive(const QByteArray &bytes);
    // The line has been silent: the bytes so far are one frame.
    void EndOfFrame();

private:
    void ReadPty();
    void CutFrames();
    void Answer(const QByteArray &request, qint64 requestStartMs);
    // Sends a reply the way its line faults say.
    void Deliver(const SimReply &reply);
    void Send(const QByteArray &bytes);
    void Trace(const char *direction, const QByteArray &bytes) const;

    SimSlave &m_slave;
    QTimer m_silence;
    QElapsedTimer m_clock;
    QByteArray m_frame;
    qint64 m_frameStartMs = 0;
    int m_baud = 0;
    int m_turnaroundMs = 0;
    bool m_trace = false;
    bool m_traceAsText = false;
    int m_ptyMaster = -1;
    int m_ptySlave = -1;
    QSocketNotifier *m_notifier = nullptr;
    QIODevice *m_stream = nullptr; // a serial device or a connection; else the pty
    std::function<int(QByteArrayView)> m_frameLength;
};
