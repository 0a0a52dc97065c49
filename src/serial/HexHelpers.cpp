#include "serial/HexHelpers.h"

#include <bit>
#include <cstdint>

int HexCharValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 16;
}

quint32 HexToInt(QByteArrayView text, int n)
{
    const qsizetype padding = qMax<qsizetype>(0, n - text.size());
    quint32 result = 0;
    for (qsizetype pos = 0; pos < n; ++pos) {
        const char c = pos < padding ? '0' : text[pos - padding];
        const int digit = HexCharValue(c);
        if (digit > 15)
            break;
        result = result * 16 + quint32(digit);
    }
    return result;
}

quint16 Hex4ToWord(const char *four)
{
    quint32 result = 0;
    for (int pos = 0; pos < 4; ++pos) {
        const int digit = HexCharValue(four[pos]);
        if (digit <= 15)
            result = result * 16 + quint32(digit);
    }
    return quint16(result);
}

static char HexDigit(quint32 nibble)
{
    return "0123456789ABCDEF"[nibble & 0xF];
}

QByteArray WordToHex4(quint32 v)
{
    QByteArray text(4, '0');
    for (int pos = 3; pos >= 0; --pos, v >>= 4)
        text[pos] = HexDigit(v);
    return text;
}

int BitIsSet(quint32 value, int bit)
{
    return (value >> (bit & 31)) & 1;
}

QByteArray LengthField(int infoLength)
{
    const quint32 n = quint32(infoLength);
    const quint32 nibbleSum = ((n >> 8) & 0xF) + ((n >> 4) & 0xF) + (n & 0xF);
    QByteArray field = WordToHex4(n);
    field[0] = HexDigit(0u - nibbleSum);
    return field;
}

QByteArray FrameChecksum(QByteArrayView frame, int n)
{
    const qsizetype last = qMin<qsizetype>(n, frame.size() - 1);
    quint32 sum = 0;
    for (qsizetype pos = 1; pos <= last; ++pos)
        sum += quint8(frame[pos]);
    return WordToHex4(0u - sum);
}

QByteArray CleanHexText(QByteArrayView text)
{
    QByteArray cleaned;
    cleaned.reserve(text.size());
    for (char c : text) {
        const char upper = (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
        if (HexCharValue(upper) <= 15)
            cleaned.append(upper);
    }
    return cleaned;
}

QByteArray HexTextToBytes(QByteArrayView text)
{
    const QByteArray cleaned = CleanHexText(text);
    QByteArray bytes(cleaned.size() / 2, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(HexCharValue(cleaned[2 * i]) * 16 + HexCharValue(cleaned[2 * i + 1]));
    return bytes;
}

QString BytesToHexText(QByteArrayView bytes, QStringView separator)
{
    QString text;
    text.reserve(bytes.size() * (2 + separator.size()));
    for (char byte : bytes) {
        text.append(QLatin1Char(HexDigit(quint8(byte) >> 4)));
        text.append(QLatin1Char(HexDigit(quint8(byte))));
        text.append(separator);
    }
    return text;
}

QString Int16ToText(int v)
{
    return QString::number(qint16(quint16(v)));
}

double HexToSingle(const char *eight)
{
    quint32 pattern = 0;
    for (int byte = 3; byte >= 0; --byte)
        pattern = (pattern << 8) | HexToInt(QByteArrayView(eight + 2 * byte, 2), 2);
    return double(std::bit_cast<float>(pattern));
}

QString IntToZeroPadded(qint64 v, int width)
{
    const QString digits = QString::number(v).rightJustified(width, QLatin1Char('0'));
    return digits.right(width);
}
