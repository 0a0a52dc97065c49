#include "support/RawHttpClient.h"

#include "support/EventWait.h"

#include <QList>

QByteArray RawHttpResponse::Header(const QByteArray &name) const
{
    const QList<QByteArray> lines = Head.split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

bool RawHttpClient::Connect(quint16 port, int timeoutMs)
{
    FSocket.connectToHost(QHostAddress::LocalHost, port);
    return WaitUntil([this] { return FSocket.state() == QAbstractSocket::ConnectedState; }, timeoutMs);
}

void RawHttpClient::Send(const QByteArray &bytes)
{
    FSocket.write(bytes);
    FSocket.flush();
}

std::optional<RawHttpResponse> RawHttpClient::ReadResponse(int timeoutMs)
{
    std::optional<RawHttpResponse> response;
    WaitUntil(
        [&] {
            FBuffer += FSocket.readAll();
            const qsizetype headEnd = FBuffer.indexOf("\r\n\r\n");
            if (headEnd < 0)
                return false;
            RawHttpResponse candidate;
            candidate.Head = FBuffer.left(headEnd);
            const qsizetype length = candidate.Header("Content-Length").toLongLong();
            if (FBuffer.size() < headEnd + 4 + length)
                return false;
            candidate.Body = FBuffer.mid(headEnd + 4, length);
            candidate.Status = candidate.Head.mid(candidate.Head.indexOf(' ') + 1, 3).toInt();
            FBuffer.remove(0, headEnd + 4 + length);
            response = candidate;
            return true;
        },
        timeoutMs);
    return response;
}

bool RawHttpClient::WaitClosed(int timeoutMs)
{
    return WaitUntil(
        [this] {
            FBuffer += FSocket.readAll();
            return FSocket.state() == QAbstractSocket::UnconnectedState;
        },
        timeoutMs);
}

RawHttpResponse HttpGet(quint16 port, const QByteArray &target)
{
    RawHttpClient client;
    if (!client.Connect(port))
        return {};
    client.Send("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    return client.ReadResponse().value_or(RawHttpResponse{});
}
