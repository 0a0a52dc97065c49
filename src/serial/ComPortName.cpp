#include "serial/ComPortName.h"

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
    if (IsDevicePath(comName))
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
