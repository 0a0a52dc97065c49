#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <functional>

enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { _1, _1_5, _2 };
enum class TByteSize { _5, _6, _7, _8 };

// Where a network link stands. A serial line is Connected while open.
enum class TLinkPhase { Closed, Connecting, Connected, Waiting };

struct TLinkStatus
{
    TLinkPhase Phase = TLinkPhase::Closed;
    // Why the last attempt failed or the connection dropped; empty when
    // nothing failed.
    QString Error;
    // While Waiting: seconds until the next attempt.
    int RetryInSeconds = 0;

    bool operator==(const TLinkStatus &) const = default;
};

// The way to the bus under the polling engine: a serial line, or a TCP
// connection to a serial device server or a Modbus TCP gateway. The engine
// sends RTU or ASCII frames and receives blocks exactly as on a serial line;
// what a transport does on its way (cutting blocks, a Modbus TCP header) is
// its own business. Everything is told to the owner as signals, on the
// owner's thread and in arrival order; nothing blocks.
//
// A transport is open from Open to Close, whether or not a network link is
// up at the moment: while it is down nothing is sent and nothing arrives,
// as on a silent line, and the transport tries again by itself.
class TBusTransport : public QObject
{
    Q_OBJECT

public:
    // Given the bytes of a block so far: the length of the complete frame
    // they begin with; 0 while a frame may still be arriving; -1 when they
    // begin no frame.
    using TFrameEnd = std::function<int(QByteArrayView block)>;

    using QObject::QObject;

    // The port name as configured (ComName).
    QString CommName() const { return FCommName; }
    void SetCommName(const QString &name) { FCommName = name; }

    // The bus's line settings. A network transport does not set them (the
    // device server does); the engine's timing still follows them.
    qint32 BaudRate() const { return FBaudRate; }
    void SetBaudRate(qint32 baudRate);
    TByteSize ByteSize() const { return FByteSize; }
    void SetByteSize(TByteSize byteSize);
    TParity Parity() const { return FParity; }
    void SetParity(TParity parity);
    TStopBits StopBits() const { return FStopBits; }
    void SetStopBits(TStopBits stopBits);

    // Milliseconds of silence that end a received block.
    qint32 ReadIntervalTimeout() const { return FReadIntervalTimeout; }
    void SetReadIntervalTimeout(qint32 ms);

    // Where received frames end; none (the default) leaves every block to
    // the silence. A transport that receives whole frames ignores it.
    virtual void SetFrameEnd(TFrameEnd frameEnd) = 0;

    // Throws ECommsError with the text to show when the port cannot be
    // opened at all; the transport is then closed.
    virtual void Open() = 0;
    // Drops unsent bytes and any partly received block; nothing happens
    // when closed.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // The system's handle of the line; 0 while there is none.
    virtual qintptr Handle() const = 0;
    virtual TLinkStatus LinkStatus() const = 0;

    // Queues a copy of the frame for the bus. False when nothing can be
    // sent now (closed, link down, nothing to send).
    virtual bool SendData(QByteArrayView bytes) = 0;

signals:
    // One received block; startedMs is when its first byte was read, on the
    // line clock.
    void OnReceiveData(const QByteArray &block, qint64 startedMs);
    // The first byte of a new block has been read.
    void OnReceiveStarted();
    // A line error that does not stop the line.
    void OnReceiveError(quint32 error);
    // The line failed for good (adapter unplugged). The transport has
    // already closed; a network transport retries instead and never says so.
    void OnRequestHangup();
    // Everything queued has been written.
    void OnSendDataEmpty();
    // The network link changed state.
    void OnLinkStatusChanged(const TLinkStatus &status);
    // A frame that answers no request in flight arrived and was dropped.
    void OnStrayFrame();
    // The bytes a transport adds around a frame on its way (a Modbus TCP
    // header), for the trace: sent or received with the frame that follows.
    void OnFrameEnvelope(bool sent, const QByteArray &envelope);

protected:
    // The line settings changed; a transport that applies them does so.
    virtual void LineSettingsChanged() {}

private:
    QString FCommName = QStringLiteral("COM2");
    qint32 FBaudRate = 9600;
    TByteSize FByteSize = TByteSize::_8;
    TParity FParity = TParity::None;
    TStopBits FStopBits = TStopBits::_1;
    qint32 FReadIntervalTimeout = 100;
};
