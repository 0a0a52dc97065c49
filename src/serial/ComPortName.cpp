#include "serial/ComPortName.h"

#include <QHostAddress>
#include <QRegularExpression>

static bool IsDevicePath(const QString &name)
{
    return name.startsWith(QLatin1Char('/'));
}

int ComNamePortNumber(const QString &comName)
{
    const QString digits = comName.mid(3, 2);
    if (digits.isEmpty())
        return 0;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
    return digits.toInt();
}

bool ComNameOpensPort(const QString &comName)
{
    if (IsDevicePath(comName) || IsNetworkPortName(comName))
        return true;
    const int number = ComNamePortNumber(comName);
    return number >= 1 && number <= 256;
}

QString SystemPortName(const QString &portName)
{
#ifdef Q_OS_WIN
    return portName;
#else
    static const QRegularExpression comN(QStringLiteral("^COM(\\d{1,9})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comN.match(portName);
    if (!match.hasMatch())
        return portName;
    const int number = match.captured(1).toInt();
    if (number < 1)
        return portName;
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

namespace {

constexpr QLatin1String kRawTcpScheme("tcp://");
constexpr QLatin1String kModbusTcpScheme("modbus-tcp://");

// Host names as DNS takes them: letters, digits, hyphens and dots (and the
// underscore some sites use), no blank, nothing that would split the form.
bool IsHostName(QStringView host)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9_]([A-Za-z0-9_.-]*[A-Za-z0-9_])?$"));
    return name.match(host).hasMatch() && !host.contains(QLatin1String(".."));
}

bool IsIpv4Text(QStringView host)
{
    static const QRegularExpression dotted(QStringLiteral("^[0-9]+(\\.[0-9]+){3}$"));
    return dotted.match(host).hasMatch();
}

} // namespace

bool IsNetworkPortName(const QString &comName)
{
    return comName.startsWith(kRawTcpScheme, Qt::CaseInsensitive)
           || comName.startsWith(kModbusTcpScheme, Qt::CaseInsensitive);
}

std::optional<TNetworkAddress> ParseNetworkPortName(const QString &comName, QString *error)
{
    const auto fail = [&](const QString &why) -> std::optional<TNetworkAddress> {
        *error = QStringLiteral("\"%1\": %2").arg(comName, why);
        return std::nullopt;
    };
    TNetworkAddress address;
    QStringView rest;
    if (comName.startsWith(kRawTcpScheme, Qt::CaseInsensitive)) {
        address.Kind = TNetworkKind::RawTcp;
        rest = QStringView(comName).sliced(kRawTcpScheme.size());
    } else if (comName.startsWith(kModbusTcpScheme, Qt::CaseInsensitive)) {
        address.Kind = TNetworkKind::ModbusTcp;
        rest = QStringView(comName).sliced(kModbusTcpScheme.size());
    } else {
        return fail(QStringLiteral("a network port is tcp://HOST:PORT or modbus-tcp://HOST:PORT"));
    }

    QStringView host;
    QStringView portText;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return fail(QStringLiteral("the IPv6 address has no closing \"]\""));
        host = rest.sliced(1, close - 1);
        const QStringView after = rest.sliced(close + 1);
        if (!after.startsWith(QLatin1Char(':')))
            return fail(QStringLiteral("the port number is missing (HOST:PORT)"));
        portText = after.sliced(1);
        const QHostAddress ipv6(host.toString());
        if (ipv6.isNull() || ipv6.protocol() != QAbstractSocket::IPv6Protocol)
            return fail(QStringLiteral("\"%1\" is no IPv6 address").arg(host));
    } else {
        const qsizetype colon = rest.lastIndexOf(QLatin1Char(':'));
        if (colon < 0)
            return fail(QStringLiteral("the port number is missing (HOST:PORT)"));
        host = rest.first(colon);
        portText = rest.sliced(colon + 1);
        if (host.contains(QLatin1Char(':')))
            return fail(QStringLiteral("an IPv6 address goes in brackets, e.g. [fd00::5]:4001"));
        if (host.isEmpty())
            return fail(QStringLiteral("the host is missing"));
        if (IsIpv4Text(host) ? QHostAddress(host.toString()).isNull() : !IsHostName(host))
            return fail(QStringLiteral("\"%1\" is no host name or IPv4 address").arg(host));
    }
    bool numeric = false;
    const uint port = portText.toUInt(&numeric);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    if (!digits.match(portText).hasMatch() || !numeric || port < 1 || port > 65535)
        return fail(QStringLiteral("the port number must be 1 to 65535"));
    address.Host = host.toString();
    address.Port = quint16(port);
    return address;
}

QString PortNameProblem(const QString &comName)
{
    QString error;
    if (IsNetworkPortName(comName) && !ParseNetworkPortName(comName, &error))
        return error;
    return {};
}
