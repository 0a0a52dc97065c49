#pragma once

#include "SimSlave.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QSerialPort;
class QSocketNotifier;

// The wire side of the simulator: a pseudo-terminal or a serial device. A
// request ends, as on a real slave, when the line has been silent for the
// gap time; the reply goes out after the answering unit's delay.
class SimPort : public QObject
{
    Q_OBJECT

public:
    SimPort(SimSlave &slave, int gapMs, QObject *parent = nullptr);
    ~SimPort() override;

    // Opens a new pseudo-terminal; slavePath is the device a master opens.
    bool OpenPty(QString *slavePath, QString *error);
    bool OpenDevice(const QString &device, int baud, QString *error);

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
    // Sends a reply the way its line faults say.
    void Deliver(const SimReply &reply);
    void Send(const QByteArray &bytes);
    void Trace(const char *direction, const QByteArray &bytes) const;

    SimSlave &m_slave;
    QTimer m_silence;
    QByteArray m_frame;
    bool m_trace = false;
    bool m_traceAsText = false;
    int m_ptyMaster = -1;
    int m_ptySlave = -1;
    QSocketNotifier *m_notifier = nullptr;
    QSerialPort *m_serial = nullptr;
};
