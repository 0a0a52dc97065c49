#pragma once

#include <QByteArray>
#include <QTcpSocket>

#include <optional>

struct RawHttpResponse {
    int Status = 0;
    QByteArray Head; // status line and header lines
    QByteArray Body;

    // The value of a header, or empty.
    QByteArray Header(const QByteArray &name) const;
};

// A TCP client on 127.0.0.1 that speaks HTTP by hand, so that a test can
// send what no well-behaved client would. Every wait runs the event loop,
// so a server in the same thread answers meanwhile.
class RawHttpClient
{
public:
    bool Connect(quint16 port, int timeoutMs = 5000);
    void Send(const QByteArray &bytes);
    // One whole response: its head and as many body bytes as its
    // Content-Length says. Nothing when none comes within the time-out.
    std::optional<RawHttpResponse> ReadResponse(int timeoutMs = 10000);
    // Whether the server closed the connection within the time-out.
    bool WaitClosed(int timeoutMs = 10000);

    QTcpSocket &Socket() { return FSocket; }

private:
    QTcpSocket FSocket;
    QByteArray FBuffer;
};

// GET target on its own connection, "Connection: close".
RawHttpResponse HttpGet(quint16 port, const QByteArray &target);
