#include "app/TSettings.h"

#include "app/TIniText.h"
#include "log/CommitSaveFile.h"
#include "model/TextLanguage.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

const char *const kCommPort = "CommPort";
const char *const kCommMast = "CommMast";
const char *const kLanguage = "Language";
const char *const kDataLog = "DataLog";

// Decimal with an optional sign, or hexadecimal after "0x", "0X" or "$".
// Hexadecimal takes up to 32 bits and wraps into the signed range, so
// "$FFFFFFFF" is -1; a decimal text outside the signed range is no number.
std::optional<qint32> ParseInteger(const char *text)
{
    if (text == nullptr)
        return std::nullopt;
    std::string s(text);
    bool negative = false;
    std::size_t pos = 0;
    if (pos < s.size() && (s[pos] == '-' || s[pos] == '+')) {
        negative = s[pos] == '-';
        ++pos;
    }
    int base = 10;
    if (s.compare(pos, 1, "$") == 0) {
        base = 16;
        pos += 1;
    } else if (s.size() > pos + 2 && s[pos] == '0' && (s[pos + 1] == 'x' || s[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    const std::string digits = s.substr(pos);
    if (digits.empty())
        return std::nullopt;
    for (char c : digits) {
        const bool ok = base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                                   : std::isdigit(static_cast<unsigned char>(c)) != 0;
        if (!ok)
            return std::nullopt;
    }
    errno = 0;
    const unsigned long long magnitude = std::strtoull(digits.c_str(), nullptr, base);
    if (errno == ERANGE)
        return std::nullopt;
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFull)
            return std::nullopt;
        const auto bits = static_cast<quint32>(magnitude);
        return static_cast<qint32>(negative ? 0u - bits : bits);
    }
    const long long value = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    if (magnitude > 0x80000000ull || value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<qint32>(value);
}

std::optional<qint32> ParseInteger(const std::optional<QByteArray> &text)
{
    return text ? ParseInteger(text->constData()) : std::nullopt;
}

qint32 ReadInt(const TIniText &ini, const char *section, const char *key, qint32 fallback)
{
    return ParseInteger(ini.Value(section, key)).value_or(fallback);
}

quint8 ReadByte(const TIniText &ini, const char *section, const char *key, quint8 fallback)
{
    return static_cast<quint8>(ReadInt(ini, section, key, fallback) & 0xFF);
}

QString ReadText(const TIniText &ini, const char *section, const char *key, const QString &fallback)
{
    const std::optional<QByteArray> value = ini.Value(section, key);
    return value ? QString::fromUtf8(*value) : fallback;
}

// A value that reads back as the one in memory keeps its bytes as they are
// in the file ("0x2", a name in an 8-bit encoding), so a save changes no
// line whose setting did not change.
void WriteInt(TIniText &ini, const char *section, const char *key, qint32 value)
{
    const std::optional<QByteArray> stored = ini.Value(section, key);
    const bool same = ParseInteger(stored) == value;
    ini.SetValue(section, key, same ? *stored : QByteArray::number(value));
}

void WriteText(TIniText &ini, const char *section, const char *key, const QString &value)
{
    const std::optional<QByteArray> stored = ini.Value(section, key);
    const bool same = stored && QString::fromUtf8(*stored) == value;
    ini.SetValue(section, key, same ? *stored : value.toUtf8());
}

// The file's content; false when the file exists but cannot be read.
bool ReadIniFile(TIniText &ini, const QString &path)
{
    QFile file(path);
    if (!file.exists()) {
        ini = TIniText();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly))
        return false;
    ini = TIniText(file.readAll());
    return true;
}

[[noreturn]] void ThrowUnableToWrite(const QString &path)
{
    throw std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString());
}

} // namespace

bool TSettings::IsChinese() const
{
    return IsChineseLanguage(Language);
}

std::optional<qint32> ParseSettingInteger(const std::optional<QByteArray> &text)
{
    return ParseInteger(text);
}

void LoadSettings(TSettings &settings, const QString &path)
{
    TIniText ini;
    if (!ReadIniFile(ini, path))
        ini = TIniText();

    const TPortInfo defaults;
    TPortInfo &port = settings.PortInfo;
    port.ComName = ReadText(ini, kCommPort, "ComName", defaults.ComName);
    port.BaudRate = ReadInt(ini, kCommPort, "BaudRate", defaults.BaudRate);
    port.StopBits = ReadByte(ini, kCommPort, "StopBits", defaults.StopBits);
    port.ReadIntervalTimeout = ReadInt(ini, kCommPort, "ReadIntervalTimeout", defaults.ReadIntervalTimeout);
    port.AutoStart = ReadInt(ini, kCommPort, "AutoStart", 0) != 0;
    port.Protocol = ReadByte(ini, kCommPort, "Protocol", defaults.Protocol);
    port.WaitTimer = ReadByte(ini, kCommMast, "WaitTimer", defaults.WaitTimer);
    port.MaxReSend = ReadByte(ini, kCommMast, "MaxReSend", defaults.MaxReSend);
    port.CommErrCnt = ReadByte(ini, kCommMast, "CommErrCnt", defaults.CommErrCnt);
    port.CommLostCnt = ReadByte(ini, kCommMast, "CommLostCnt", defaults.CommLostCnt);
    port.PollMode = ReadByte(ini, kCommMast, "PollMode", defaults.PollMode);
    // Too short a time-out gives up on units still answering; too long a
    // one lets a silent unit hold the whole round.
    port.ReplyTimeout = std::clamp(ReadInt(ini, kCommMast, "ReplyTimeout", defaults.ReplyTimeout),
                                   TPortInfo::kMinReplyTimeout, TPortInfo::kMaxReplyTimeout);

    const TSettings settingDefaults;
    settings.Language = ReadByte(ini, kLanguage, "Language", settingDefaults.Language);
    const qint32 recInterval = ReadInt(ini, kDataLog, "RecInterval", settingDefaults.RecInterval);
    // 0 is how the log settings store "off"; any other value below five
    // seconds would flood the month files.
    settings.RecInterval = (recInterval != 0 && recInterval < 50) ? 50 : recInterval;
}

void LoadPortSettings(TSettings &settings, const QString &path)
{
    TSettings fromFile;
    LoadSettings(fromFile, path);
    settings.PortInfo = fromFile.PortInfo;
}

void SaveSettings(const TSettings &settings, const QString &path)
{
    TIniText ini;
    // Never replace a file whose content could not be read: its other
    // sections would be lost.
    if (!ReadIniFile(ini, path))
        ThrowUnableToWrite(path);

    const TPortInfo &port = settings.PortInfo;
    WriteText(ini, kCommPort, "ComName", port.ComName);
    WriteInt(ini, kCommPort, "BaudRate", port.BaudRate);
    WriteInt(ini, kCommPort, "StopBits", port.StopBits);
    WriteInt(ini, kCommPort, "ReadIntervalTimeout", port.ReadIntervalTimeout);
    WriteInt(ini, kCommPort, "AutoStart", port.AutoStart ? 1 : 0);
    WriteInt(ini, kCommPort, "Protocol", port.Protocol);
    WriteInt(ini, kCommMast, "WaitTimer", port.WaitTimer);
    WriteInt(ini, kCommMast, "MaxReSend", port.MaxReSend);
    WriteInt(ini, kCommMast, "CommErrCnt", port.CommErrCnt);
    WriteInt(ini, kCommMast, "CommLostCnt", port.CommLostCnt);
    WriteInt(ini, kCommMast, "PollMode", port.PollMode);
    WriteInt(ini, kCommMast, "ReplyTimeout", port.ReplyTimeout);
    WriteInt(ini, kLanguage, "Language", settings.Language);
    WriteInt(ini, kDataLog, "RecInterval", settings.RecInterval);

    const QByteArray text = ini.ToBytes();
    // Written through a temporary file and renamed into place, so a failed
    // write never leaves a truncated settings file behind.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())
        || !CommitSaveFile(file))
        ThrowUnableToWrite(path);
}
