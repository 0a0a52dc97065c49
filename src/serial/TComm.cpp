#include "serial/TComm.h"

#include "serial/ComPortName.h"
#include "serial/ECommsError.h"
#include "serial/LineTiming.h"

#include <QScopeGuard>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

QSerialPort::Parity ToQtParity(TParity parity)
{
    switch (parity) {
    case TParity::Odd: return QSerialPort::OddParity;
    case TParity::Even: return QSerialPort::EvenParity;
    case TParity::Mark: return QSerialPort::MarkParity;
    case TParity::Space: return QSerialPort::SpaceParity;
    case TParity::None: break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits ToQtStopBits(TStopBits stopBits)
{
    switch (stopBits) {
    case TStopBits::_1_5: return QSerialPort::OneAndHalfStop;
    case TStopBits::_2: return QSerialPort::TwoStop;
    case TStopBits::_1: break;
    }
    return QSerialPort::OneStop;
}

QSerialPort::DataBits ToQtDataBits(TByteSize byteSize)
{
    return QSerialPort::DataBits(int(byteSize) + 5);
}

// Errors after which the port delivers nothing more and, left open, would
// report the same failure again on every turn of the event loop.
bool IsFatalPortError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
        return true;
    default:
        return false;
    }
}

// Something that exists but is no terminal device: a regular file, a
// directory, or a character device without line settings such as /dev/null.
bool IsNotACommDevice(const QString &path, QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::UnsupportedOperationError)
        return true;
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(path.toLocal8Bit().constData(), &status) == 0 && !S_ISCHR(status.st_mode))
        return true;
#else
    Q_UNUSED(path);
#endif
    return false;
}

} // namespace

TComm::TComm(QObject *parent) : QObject(parent)
{
    FSilenceTimer.setSingleShot(true);
    FSilenceTimer.setInterval(FReadIntervalTimeout);
    connect(&FSilenceTimer, &QTimer::timeout, this, &TComm::EndReceivedBlock);
    connect(&FPort, &QSerialPort::readyRead, this, &TComm::ReadFromPort);
    connect(&FPort, &QSerialPort::errorOccurred, this, &TComm::HandlePortError);
    connect(&FPort, &QSerialPort::bytesWritten, this, &TComm::HandleBytesWritten);
}

TComm::~TComm()
{
    CloseComm();
}

void TComm::SetBaudRate(qint32 baudRate)
{
    FBaudRate = baudRate;
    if (IsOpen())
        ApplyLineSettings();
}

void TComm::SetByteSize(TByteSize byteSize)
{
    FByteSize = byteSize;
    if (IsOpen())
        ApplyLineSettings();
}

void TComm::SetParity(TParity parity)
{
    FParity = parity;
    if (IsOpen())
        ApplyLineSettings();
}

void TComm::SetStopBits(TStopBits stopBits)
{
    FStopBits = stopBits;
    if (IsOpen())
        ApplyLineSettings();
}

void TComm::SetReadIntervalTimeout(qint32 ms)
{
    FReadIntervalTimeout = qMax(0, ms);
    FSilenceTimer.setInterval(FReadIntervalTimeout);
}

void TComm::OpenComm()
{
    if (IsOpen())
        throw ECommsError("This serial port already opened");

    FIgnorePortErrors = true;
    const auto restore = qScopeGuard([this] {
        FIgnorePortErrors = false;
        FPort.clearError();
    });

    FPort.setPortName(SystemPortName(FCommName));
    if (!FPort.open(QIODevice::ReadWrite))
        FailOpen(FPort.error());
    FPort.clear(QSerialPort::AllDirections);
    ApplyLineSettings();
    FSilenceTimer.stop();
    FPendingBlock.clear();
}

void TComm::FailOpen(QSerialPort::SerialPortError error)
{
    if (IsNotACommDevice(FPort.portName(), error))
        throw ECommsError("File handle is not a comm handle ");
    throw ECommsError("Error opening serial port");
}

void TComm::ApplyLineSettings()
{
    // Some lines cannot take every setting (a pseudo-terminal has no DTR or
    // RTS); the port still works, so such refusals are not reported.
    const bool wasIgnoring = FIgnorePortErrors;
    FIgnorePortErrors = true;
    FPort.setBaudRate(FBaudRate);
    FPort.setDataBits(ToQtDataBits(FByteSize));
    FPort.setParity(ToQtParity(FParity));
    FPort.setStopBits(ToQtStopBits(FStopBits));
    FPort.setFlowControl(QSerialPort::NoFlowControl);
    FPort.setDataTerminalReady(true);
    FPort.setRequestToSend(true);
    FPort.clearError();
    FIgnorePortErrors = wasIgnoring;
}

void TComm::CloseComm()
{
    if (!IsOpen())
        return;
    ++FSession;
    FSilenceTimer.stop();
    FPendingBlock.clear();
    // Closing a port that has already failed fails again; there is nothing
    // more to tell the owner about it.
    const bool wasIgnoring = FIgnorePortErrors;
    FIgnorePortErrors = true;
    // Discarding the output first keeps close from waiting for the line to
    // drain what is still queued.
    FPort.clear(QSerialPort::AllDirections);
    FPort.close();
    FPort.clearError();
    FIgnorePortErrors = wasIgnoring;
}

bool TComm::SendData(QByteArrayView bytes)
{
    if (!IsOpen() || bytes.isEmpty())
        return false;
    return FPort.write(bytes.data(), bytes.size()) == bytes.size();
}

void TComm::ReadFromPort()
{
    const QByteArray bytes = FPort.readAll();
    TakeReceivedBytes(bytes, LineClockMs());
}

void TComm::TakeReceivedBytes(QByteArrayView bytes, qint64 nowMs)
{
    if (bytes.isEmpty())
        return;
    // The silence timer runs on the owner's thread and may not have had its
    // turn yet: a gap already long enough ends the block all the same.
    if (!FPendingBlock.isEmpty() && nowMs - FLastReceiveMs >= FReadIntervalTimeout) {
        // The owner may close the port on that block; the bytes that came
        // after it belong to the closed session and are dropped with it.
        const quint64 session = FSession;
        EndReceivedBlock();
        if (session != FSession)
            return;
    }
    const bool blockStarts = FPendingBlock.isEmpty();
    if (blockStarts)
        FBlockStartMs = nowMs;
    FLastReceiveMs = nowMs;
    FPendingBlock.append(bytes.data(), bytes.size());
    if (blockStarts) {
        const quint64 session = FSession;
        emit OnReceiveStarted();
        if (session != FSession)
            return;
    }
    if (!DeliverCompleteFrames(nowMs))
        return;
    while (FPendingBlock.size() >= MaxBlockSize) {
        if (!DeliverBlock(MaxBlockSize, nowMs))
            return;
    }
    if (FPendingBlock.isEmpty())
        FSilenceTimer.stop();
    else
        FSilenceTimer.start();
}

TComm::TFramePlace TComm::FindCompleteFrame() const
{
    constexpr int kNoFrame = -1;
    const int atStart = FFrameEnd(FPendingBlock);
    if (atStart != kNoFrame)
        return {0, std::max(atStart, 0)};
    const QByteArrayView pending(FPendingBlock);
    for (qsizetype offset = 1; offset < pending.size(); ++offset) {
        const int length = FFrameEnd(pending.sliced(offset));
        if (length > 0 && length <= pending.size() - offset)
            return {offset, length};
    }
    return {};
}

bool TComm::DeliverCompleteFrames(qint64 nowMs)
{
    while (FFrameEnd && !FPendingBlock.isEmpty()) {
        const TFramePlace frame = FindCompleteFrame();
        if (frame.Length <= 0 || frame.Length > FPendingBlock.size() - frame.Offset)
            return true;
        if (frame.Offset > 0 && !DeliverBlock(frame.Offset, nowMs))
            return false;
        if (!DeliverBlock(frame.Length, nowMs))
            return false;
        // What follows the frame in the same read is a block of its own.
        if (!FPendingBlock.isEmpty()) {
            const quint64 session = FSession;
            emit OnReceiveStarted();
            if (session != FSession)
                return false;
        }
    }
    return true;
}

bool TComm::DeliverBlock(qsizetype length, qint64 nowMs)
{
    const QByteArray block = FPendingBlock.left(length);
    FPendingBlock.remove(0, length);
    const qint64 startedMs = FBlockStartMs;
    FBlockStartMs = nowMs;
    const quint64 session = FSession;
    emit OnReceiveData(block, startedMs);
    return session == FSession;
}

void TComm::EndReceivedBlock()
{
    FSilenceTimer.stop();
    if (FPendingBlock.isEmpty())
        return;
    QByteArray block;
    block.swap(FPendingBlock);
    emit OnReceiveData(block, FBlockStartMs);
}

void TComm::HandlePortError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || FIgnorePortErrors || !IsOpen())
        return;
    if (!IsFatalPortError(error)) {
        FPort.clearError();
        emit OnReceiveError(quint32(error));
        return;
    }
    // Hand over what arrived before the failure, then stop for good: a
    // port left open would report the failure again and again.
    ReadFromPort();
    EndReceivedBlock();
    CloseComm();
    emit OnRequestHangup();
}

void TComm::HandleBytesWritten()
{
    if (FPort.bytesToWrite() == 0)
        emit OnSendDataEmpty();
}
