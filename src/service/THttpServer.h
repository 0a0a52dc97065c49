#pragma once

#include "service/ServiceLog.h"
#include "service/THttpConnectionGuard.h"
#include "service/THttpData.h"
#include "service/TListenAddress.h"

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QHttpServerResponder>
#include <QList>
#include <QStringList>

#include <functional>

class QUrlQuery;

// The read-only HTTP side: GET /metrics (Prometheus), GET /api/devices,
// GET /api/events?limit=N and the status page at / with its own assets.
// Every other method or path is "404 Not Found". It runs on the engine's
// thread and only reads what the engine keeps; the guard keeps each client
// within bounds.
class THttpServer : public QAbstractHttpServer
{
    Q_OBJECT

public:
    static constexpr int kDefaultEventLimit = 50;
    static constexpr int kMaxEventLimit = 1000;
    // A body built this recently is sent again as it is: a client asking in
    // a loop costs the engine's thread one build per route and second at
    // most (a full bus takes milliseconds to write out).
    static constexpr int kDefaultBodyMaxAgeMs = 1000;

    THttpServer(THttpData data, TServiceLog log, QObject *parent = nullptr);
    // Drops every client before the listeners go.
    ~THttpServer() override;

    THttpConnectionGuard &Guard() { return FGuard; }
    void SetBodyMaxAgeMs(int ms) { FBodyMaxAgeMs = ms; }

    // Listens on every address; those that cannot be bound add a problem.
    // True when at least one listens.
    bool Listen(const QList<TListenAddress> &addresses, QStringList *problems);
    // Where it listens, with the ports actually bound.
    QList<TListenAddress> Bound() const;

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    struct TReply {
        QHttpServerResponder::StatusCode Status = QHttpServerResponder::StatusCode::Ok;
        QByteArray ContentType;
        QByteArray Body;
    };

    struct TCachedBody {
        QByteArray Body;
        int Key = 0; // what the body was built for, beside the route
        QElapsedTimer Made;
    };

    TReply Answer(const QHttpServerRequest &request);
    TReply EventsReply(const QUrlQuery &query);
    QByteArray Cached(TCachedBody &cache, int key, const std::function<QByteArray()> &build) const;
    static TReply TextReply(QHttpServerResponder::StatusCode status, const char *text);
    void Send(const QHttpServerRequest &request, QTcpSocket *socket, const TReply &reply);
    void Log(const QString &line) const;

    THttpData FData;
    TServiceLog FLog;
    THttpConnectionGuard FGuard;
    int FBodyMaxAgeMs = kDefaultBodyMaxAgeMs;
    TCachedBody FMetrics;
    TCachedBody FDevices;
    TCachedBody FEvents;
};
