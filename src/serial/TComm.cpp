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

TComm::TComm(QObject *parent) : TBusTransport(parent)
{
    FCutter.SetSilenceMs(ReadIntervalTimeout());
    connect(&FCutter, &TBlockCutter::blockStarted, this, &TComm::OnReceiveStarted);
    connect(&FCutter, &TBlockCutter::blockReady, this, &TComm::OnReceiveData);
    connect(&FPort, &QSerialPort::readyRead, this, &TComm::ReadFromPort);
    connect(&FPort, &QSerialPort::errorOccurred, this, &TComm::HandlePortError);
    connect(&FPort, &QSerialPort::bytesWritten, this, &TComm::HandleBytesWritten);
}

TComm::~TComm()
{
    Close();
}

void TComm::LineSettingsChanged()
{
    FCutter.SetSilenceMs(ReadIntervalTimeout());
    if (IsOpen())
        ApplyLineSettings();
}

TLinkStatus TComm::LinkStatus() const
{
    return {IsOpen() ? TLinkPhase::Connected : TLinkPhase::Closed, {}, 0};
}

void TComm::Open()
{
    if (IsOpen())
        throw ECommsError("This serial port already opened");

    FIgnorePortErrors = true;
    const auto restore = qScopeGuard([this] {
        FIgnorePortErrors = false;
        FPort.clearError();
    });

    FPort.setPortName(SystemPortName(CommName()));
    if (!FPort.open(QIODevice::ReadWrite))
        FailOpen(FPort.error());
    FPort.clear(QSerialPort::AllDirections);
    ApplyLineSettings();
    FCutter.Reset();
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
    FPort.setBaudRate(BaudRate());
    FPort.setDataBits(ToQtDataBits(ByteSize()));
    FPort.setParity(ToQtParity(Parity()));
    FPort.setStopBits(ToQtStopBits(StopBits()));
    FPort.setFlowControl(QSerialPort::NoFlowControl);
    FPort.setDataTerminalReady(true);
    FPort.setRequestToSend(true);
    FPort.clearError();
    FIgnorePortErrors = wasIgnoring;
}

void TComm::Close()
{
    if (!IsOpen())
        return;
    FCutter.Reset();
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
    FCutter.Take(bytes, LineClockMs());
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
    FCutter.EndBlock();
    Close();
    emit OnRequestHangup();
}

void TComm::HandleBytesWritten()
{
    if (FPort.bytesToWrite() == 0)
        emit OnSendDataEmpty();
}
