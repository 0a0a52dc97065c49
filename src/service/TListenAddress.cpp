#include "service/TListenAddress.h"

#include <QAbstractSocket>

namespace {

std::optional<TListenAddress> Parse(const QString &item)
{
    const qsizetype colon = item.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    QString host = item.left(colon).trimmed();
    bool ok = false;
    const uint port = item.mid(colon + 1).trimmed().toUInt(&ok, 10);
    if (!ok || port > 65535)
        return std::nullopt;
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    else if (host.contains(QLatin1Char(':')))
        return std::nullopt; // an IPv6 address needs its brackets
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        host = QStringLiteral("127.0.0.1");
    const QHostAddress address(host);
    if (address.isNull())
        return std::nullopt;
    return TListenAddress{address, static_cast<quint16>(port)};
}

} // namespace

QString TListenAddress::Text() const
{
    const QString host = Address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QLatin1Char('[') + Address.toString() + QLatin1Char(']')
                             : Address.toString();
    return host + QLatin1Char(':') + QString::number(Port);
}

QList<TListenAddress> TListenAddress::ParseList(const QString &text, QStringList *problems)
{
    QList<TListenAddress> out;
    for (const QString &item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (item.trimmed().isEmpty())
            continue;
        if (const std::optional<TListenAddress> address = Parse(item.trimmed()))
            out << *address;
        else if (problems != nullptr)
            problems->append(QStringLiteral("\"%1\" is no ADDRESS:PORT").arg(item.trimmed()));
    }
    return out;
}
