#pragma once

#include <QTcpServer>

class THttpConnectionGuard;

// Accepts the TCP connections of the HTTP server: each one goes under the
// guard's watch before the server sees it, and one over the cap is told
// "503 Service Unavailable" and closed without reaching the server.
class THttpListener : public QTcpServer
{
    Q_OBJECT

public:
    explicit THttpListener(THttpConnectionGuard &guard, QObject *parent = nullptr);

protected:
    void incomingConnection(qintptr handle) override;

private:
    THttpConnectionGuard &FGuard;
};
