#pragma once

#include <QString>
#include <QtGlobal>

// Port and protocol settings of the bus, as read from the settings file.
// Field widths are those of the stored values: an 8-bit field keeps the
// low 8 bits of whatever the file holds.
struct TPortInfo
{
    QString ComName = QStringLiteral("COM1");
    qint32 BaudRate = 9600;
    quint8 StopBits = 1;
    bool AutoStart = false;
    quint8 Protocol = 0;
    qint32 ReadIntervalTimeout = 200;
    quint8 WaitTimer = 15;
    quint8 MaxReSend = 2;
    quint8 CommErrCnt = 5;
    quint8 CommLostCnt = 10;
    // 1 polls at the pace of the bus: the next request goes out as soon as a
    // reply is complete. Any other value keeps the fixed pace of 13 ticks.
    quint8 PollMode = 0;
    // Milliseconds a unit has to begin its reply when polled at the pace of
    // the bus, kept within kMinReplyTimeout to kMaxReplyTimeout.
    qint32 ReplyTimeout = 500;

    static constexpr qint32 kMinReplyTimeout = 50;
    static constexpr qint32 kMaxReplyTimeout = 5000;

    bool PacedByBus() const { return PollMode == 1; }

    friend bool operator==(const TPortInfo &, const TPortInfo &) = default;
};
