#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <QTimer>

#include <functional>

enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { _1, _1_5, _2 };
enum class TByteSize { _5, _6, _7, _8 };

// The serial port through which the bus is driven. It opens one named port
// exclusively with the line settings below (DTR and RTS on, no flow
// control) and hands everything that happens on it to its owner as signals,
// on the owner's thread and in arrival order. Sending never blocks: the
// bytes are copied and leave in the background.
//
// Received bytes are delivered in blocks: a block ends when the line has
// been silent for ReadIntervalTimeout ms, or when it reaches MaxBlockSize
// bytes. The polling engine relies on this to see one reply per block. An
// owner that knows where its frames end may say so (SetFrameEnd): a block
// that holds a complete frame is then delivered as soon as the frame has
// arrived, and the silence ends only what is no frame. Bytes that begin no
// frame but are followed by one (garbage before a reply) are a block of
// their own, delivered with the frame.
class TComm : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype MaxBlockSize = 2048;

    // Given the bytes of a block so far: the length of the complete frame
    // they begin with; 0 while a frame may still be arriving; -1 when they
    // begin no frame.
    using TFrameEnd = std::function<int(QByteArrayView block)>;

    explicit TComm(QObject *parent = nullptr);
    ~TComm() override;

    // Port name: "COMn" or a device path (see SystemPortName).
    QString CommName() const { return FCommName; }
    void SetCommName(const QString &name) { FCommName = name; }

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
    // the silence.
    void SetFrameEnd(TFrameEnd frameEnd) { FFrameEnd = std::move(frameEnd); }

    // Opens the port named CommName and applies the line settings. Throws
    // ECommsError with the text to show when the port cannot be opened; the
    // port is then closed.
    void OpenComm();
    // Closes the port and drops unsent bytes and any partly received block.
    // Nothing happens when the port is closed.
    void CloseComm();
    bool IsOpen() const { return FPort.isOpen(); }
    // The system's handle of the open port; 0 while it is closed.
    qintptr Handle() const { return FPort.isOpen() ? static_cast<qintptr>(FPort.handle()) : 0; }

    // Queues a copy of the bytes for transmission. False when the port is
    // closed, there is nothing to send, or the bytes could not be queued.
    bool SendData(QByteArrayView bytes);

    // The receive path, driven by the port and the silence timer; public so
    // that block cutting can be exercised without a line. nowMs is the time
    // the bytes were read, on the line clock (LineClockMs).
    void TakeReceivedBytes(QByteArrayView bytes, qint64 nowMs);
    void EndReceivedBlock();

signals:
    // One received block; startedMs is when its first byte was read, on the
    // line clock.
    void OnReceiveData(const QByteArray &block, qint64 startedMs);
    // The first byte of a new block has been read.
    void OnReceiveStarted();
    // A port error that does not stop the port; the value is the
    // QSerialPort::SerialPortError met.
    void OnReceiveError(quint32 error);
    // The port failed for good (adapter unplugged, other side of a
    // pseudo-terminal gone). The component has already closed the port.
    void OnRequestHangup();
    // Everything queued has been written.
    void OnSendDataEmpty();

private:
    void ApplyLineSettings();
    void ReadFromPort();
    void HandlePortError(QSerialPort::SerialPortError error);
    void HandleBytesWritten();
    [[noreturn]] void FailOpen(QSerialPort::SerialPortError error);
    // Delivers the complete frames the pending block holds, each with what
    // came before it; false when the owner closed the port on one of them.
    bool DeliverCompleteFrames(qint64 nowMs);
    struct TFramePlace {
        qsizetype Offset = 0;
        int Length = 0; // 0: no complete frame in the pending block
    };
    TFramePlace FindCompleteFrame() const;
    // Hands over the first `length` pending bytes as one block; false when
    // the owner closed the port on it.
    bool DeliverBlock(qsizetype length, qint64 nowMs);

    QString FCommName = QStringLiteral("COM2");
    qint32 FBaudRate = 9600;
    TByteSize FByteSize = TByteSize::_8;
    TParity FParity = TParity::None;
    TStopBits FStopBits = TStopBits::_1;
    qint32 FReadIntervalTimeout = 100;

    QSerialPort FPort;
    // Errors met while opening or configuring are reported by OpenComm, or
    // do not matter (pseudo-terminals have no modem lines to set).
    bool FIgnorePortErrors = false;

    TFrameEnd FFrameEnd;
    QByteArray FPendingBlock;
    QTimer FSilenceTimer;
    qint64 FBlockStartMs = 0;
    qint64 FLastReceiveMs = 0;
    // Counts closes, so that a notification cannot outlive its session.
    quint64 FSession = 0;
};
