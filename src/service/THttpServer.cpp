#include "service/THttpServer.h"

#include "log/TEventLog.h"
#include "service/DeviceJson.h"
#include "service/MetricsText.h"
#include "service/StatusPageAssets.h"
#include "service/THttpListener.h"
#include "service/TMetricsWriter.h"

#include <QHttpServerRequest>
#include <QTcpSocket>
#include <QUrlQuery>

#include <stdexcept>

namespace {

using TStatus = QHttpServerResponder::StatusCode;

const QByteArray kJson = QByteArrayLiteral("application/json");
const QByteArray kPlainText = QByteArrayLiteral("text/plain; charset=utf-8");
// The page loads nothing but its own assets and talks only to this server.
const QByteArray kPagePolicy = QByteArrayLiteral(
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; connect-src 'self'; "
    "base-uri 'none'; form-action 'none'; frame-ancestors 'none'");

QByteArray HeaderValue(const QHttpServerRequest &request, const char *name)
{
    for (const auto &[key, value] : request.headers())
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

bool WantsClose(const QHttpServerRequest &request)
{
    return HeaderValue(request, "connection").toLower().contains("close");
}

} // namespace

THttpServer::THttpServer(THttpData data, TServiceLog log, QObject *parent)
    : QAbstractHttpServer(parent), FData(std::move(data)), FLog(std::move(log))
{
}

THttpServer::~THttpServer()
{
    FGuard.CloseAll();
}

bool THttpServer::Listen(const QList<TListenAddress> &addresses, QStringList *problems)
{
    bool any = false;
    for (const TListenAddress &address : addresses) {
        auto *listener = new THttpListener(FGuard, this);
        if (!listener->listen(address.Address, address.Port)) {
            if (problems != nullptr)
                problems->append(QStringLiteral("HTTP server cannot listen on %1: %2")
                                     .arg(address.Text(), listener->errorString()));
            delete listener;
            continue;
        }
        bind(listener);
        any = true;
        const TListenAddress bound{listener->serverAddress(), listener->serverPort()};
        Log(QStringLiteral("HTTP server listening on %1%2")
                .arg(bound.Text(), bound.Address.isLoopback()
                                       ? QString()
                                       : QStringLiteral(" (not a loopback address: other hosts can reach it)")));
    }
    return any;
}

QList<TListenAddress> THttpServer::Bound() const
{
    QList<TListenAddress> out;
    for (const QTcpServer *server : servers())
        out << TListenAddress{server->serverAddress(), server->serverPort()};
    return out;
}

bool THttpServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    // A client the guard turned away gets nothing more.
    if (socket->state() != QAbstractSocket::ConnectedState)
        return true;
    // Upgrades are offered here and then to missingHandler, which answers
    // "404 Not Found" before the connection is closed: one reply, not two.
    if (!HeaderValue(request, "upgrade").isEmpty())
        return false;
    FGuard.NoteAnswered(socket);
    Send(request, socket, Answer(request));
    return true;
}

void THttpServer::missingHandler(const QHttpServerRequest &request, QTcpSocket *socket)
{
    Send(request, socket, TextReply(TStatus::NotFound, "Not Found"));
}

THttpServer::TReply THttpServer::Answer(const QHttpServerRequest &request)
{
    if (request.method() != QHttpServerRequest::Method::Get)
        return TextReply(TStatus::NotFound, "Not Found");
    const QString path = request.url().path();
    try {
        if (path == QLatin1String("/metrics"))
            return {TStatus::Ok, TMetricsWriter::kContentType, Cached(FMetrics, 0, [this] { return MetricsText(FData); })};
        if (path == QLatin1String("/api/devices"))
            return {TStatus::Ok, kJson, Cached(FDevices, 0, [this] { return DevicesJson(FData); })};
        if (path == QLatin1String("/api/events"))
            return EventsReply(request.query());
    } catch (const std::exception &error) {
        Log(QStringLiteral("HTTP server: %1 failed: %2").arg(path, QString::fromLocal8Bit(error.what())));
        return TextReply(TStatus::InternalServerError, "Internal Server Error");
    }
    if (const std::optional<TPageAsset> asset = StatusPageAsset(path))
        return {TStatus::Ok, asset->ContentType, asset->Body};
    return TextReply(TStatus::NotFound, "Not Found");
}

THttpServer::TReply THttpServer::EventsReply(const QUrlQuery &query)
{
    int limit = kDefaultEventLimit;
    if (query.hasQueryItem(QStringLiteral("limit"))) {
        bool ok = false;
        limit = query.queryItemValue(QStringLiteral("limit")).toInt(&ok);
        if (!ok || limit < 1 || limit > kMaxEventLimit)
            return TextReply(TStatus::BadRequest, "limit must be a number from 1 to 1000");
    }
    return {TStatus::Ok, kJson, Cached(FEvents, limit, [this, limit] {
                return EventsJson(FData.EventLog.ReadAllEvents(), FData.DeviceList, limit);
            })};
}

QByteArray THttpServer::Cached(TCachedBody &cache, int key, const std::function<QByteArray()> &build) const
{
    if (cache.Made.isValid() && cache.Key == key && cache.Made.elapsed() < FBodyMaxAgeMs)
        return cache.Body;
    cache.Body = build();
    cache.Key = key;
    cache.Made.start();
    return cache.Body;
}

THttpServer::TReply THttpServer::TextReply(QHttpServerResponder::StatusCode status, const char *text)
{
    return {status, kPlainText, QByteArray(text) + '\n'};
}

void THttpServer::Send(const QHttpServerRequest &request, QTcpSocket *socket, const TReply &reply)
{
    QHttpServerResponder responder = makeResponder(request, socket);
    responder.writeStatusLine(reply.Status);
    responder.writeHeader("Content-Type", reply.ContentType);
    responder.writeHeader("Content-Length", QByteArray::number(reply.Body.size()));
    responder.writeHeader("Cache-Control", "no-store");
    responder.writeHeader("X-Content-Type-Options", "nosniff");
    if (reply.ContentType.startsWith("text/html"))
        responder.writeHeader("Content-Security-Policy", kPagePolicy);
    const bool close = WantsClose(request);
    if (close)
        responder.writeHeader("Connection", "close");
    responder.writeBody(reply.Body);
    if (close)
        socket->disconnectFromHost();
}

void THttpServer::Log(const QString &line) const
{
    if (FLog)
        FLog(line);
}
