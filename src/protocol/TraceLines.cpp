#include "protocol/TraceLines.h"

#include "model/TextLanguage.h"
#include "serial/HexHelpers.h"

namespace {

bool ShownAsItself(std::uint8_t byte)
{
    return byte == '\r' || byte == '\n' || (byte >= '0' && byte <= 'z') || byte == '~';
}

} // namespace

QString TraceFrameLine(QByteArrayView bytes, bool hex)
{
    if (hex)
        return BytesToHexText(bytes, u" ");
    QString line;
    line.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        line.append(ShownAsItself(byte) ? QChar(byte) : QChar(0x7F));
    }
    return line;
}

QString TraceEnvelopeLine(QByteArrayView envelope)
{
    return QStringLiteral("MBAP ") + BytesToHexText(envelope, u" ");
}

QString TraceValueText(std::int32_t value, bool hex)
{
    if (hex)
        return QString::fromLatin1(WordToHex4(static_cast<quint32>(value)));
    return QString::number(value);
}

QString TraceFrameTooLongText(quint8 language)
{
    return LanguageText(IsChineseLanguage(language), "帧长度超过256字节,未发送。",
                        "The frame is longer than 256 bytes and was not sent.");
}
