#pragma once

#include "serial/TBlockCutter.h"
#include "serial/TBusTransport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSerialPort>
#include <QString>

// The serial port through which the bus is driven. It opens one named port
// exclusively with the line settings (DTR and RTS on, no flow control) and
// hands everything that happens on it to its owner as signals. Sending
// never blocks: the bytes are copied and leave in the background. Received
// bytes are cut into blocks by silence and frame ends (TBlockCutter), with
// ReadIntervalTimeout as the silence.
class TComm : public TBusTransport
{
    Q_OBJECT

public:
    static constexpr qsizetype MaxBlockSize = TBlockCutter::MaxBlockSize;

    explicit TComm(QObject *parent = nullptr);
    ~TComm() override;

    void SetFrameEnd(TFrameEnd frameEnd) override { FCutter.SetFrameEnd(std::move(frameEnd)); }

    // Opens the port named CommName ("COMn" or a device path, see
    // SystemPortName) and applies the line settings.
    void Open() override;
    void Close() override;
    bool IsOpen() const override { return FPort.isOpen(); }
    qintptr Handle() const override { return FPort.isOpen() ? static_cast<qintptr>(FPort.handle()) : 0; }
    TLinkStatus LinkStatus() const override;
    bool SendData(QByteArrayView bytes) override;

    // The receive path, driven by the port and the silence timer; public so
    // that block cutting can be exercised without a line. nowMs is the time
    // the bytes were read, on the line clock (LineClockMs).
    void TakeReceivedBytes(QByteArrayView bytes, qint64 nowMs) { FCutter.Take(bytes, nowMs); }
    void EndReceivedBlock() { FCutter.EndBlock(); }

protected:
    void LineSettingsChanged() override;

private:
    void ApplyLineSettings();
    void ReadFromPort();
    void HandlePortError(QSerialPort::SerialPortError error);
    void HandleBytesWritten();
    [[noreturn]] void FailOpen(QSerialPort::SerialPortError error);

    QSerialPort FPort;
    // Errors met while opening or configuring are reported by Open, or do
    // not matter (pseudo-terminals have no modem lines to set).
    bool FIgnorePortErrors = false;
    TBlockCutter FCutter;
};
