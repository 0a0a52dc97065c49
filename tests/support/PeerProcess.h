#pragma once

#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// A peer program a test talks to over the network (socat, a pymodbus
// server): started with its arguments, killed when the test is done or when
// the test takes it down on purpose. Its standard output and error are read
// as one stream.
class PeerProcess
{
public:
    PeerProcess() = default;
    ~PeerProcess() { Kill(); }
    PeerProcess(const PeerProcess &) = delete;
    PeerProcess &operator=(const PeerProcess &) = delete;

    // False, with ErrorText() saying why, when the program does not start.
    bool Start(const QString &program, const QStringList &arguments);
    // Waits until the output holds a match of the pattern (a peer telling
    // that it listens) and returns the match's first group, or the whole
    // match when it has none; empty, with ErrorText() saying why, when none
    // comes within the time or the program ends.
    QString AwaitOutput(const QRegularExpression &pattern, int timeoutMs = 10000);
    void Kill();

    QString ErrorText() const { return m_error; }

private:
    QProcess m_process;
    QByteArray m_output;
    QString m_error;
};

// socat in the role of a serial device server in TCP-server mode: listens on
// 127.0.0.1:port, takes one connection and relays it byte for byte to the
// serial line (a pseudo-terminal of the simulator). Returns once it listens.
bool StartSocatTunnel(PeerProcess &socat, quint16 port, const QString &line);
