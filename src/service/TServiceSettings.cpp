#include "service/TServiceSettings.h"

#include "app/TIniText.h"
#include "app/TSettings.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

qint32 ReadInt(const TIniText &ini, const char *section, const char *key, qint32 fallback, qint32 low, qint32 high)
{
    return std::clamp(ParseSettingInteger(ini.Value(section, key)).value_or(fallback), low, high);
}

QString ReadText(const TIniText &ini, const char *section, const char *key, const QString &fallback)
{
    const std::optional<QByteArray> value = ini.Value(section, key);
    return value && !value->isEmpty() ? QString::fromUtf8(*value) : fallback;
}

} // namespace

TServiceSettings TServiceSettings::Load(const QString &settingsFile)
{
    QFile file(settingsFile);
    const TIniText ini = file.open(QIODevice::ReadOnly) ? TIniText(file.readAll()) : TIniText();
    TServiceSettings settings;
    TNutServer &nut = settings.NutServer;
    nut.Enabled = ParseSettingInteger(ini.Value("NutServer", "Enabled")).value_or(0) != 0;
    nut.Listen = ReadText(ini, "NutServer", "Listen", nut.Listen);
    nut.LowRuntime = ReadInt(ini, "NutServer", "LowRuntime", nut.LowRuntime, 0, 86400);
    nut.MaxClients = ReadInt(ini, "NutServer", "MaxClients", nut.MaxClients, 1, 1024);
    nut.IdleTimeout = ReadInt(ini, "NutServer", "IdleTimeout", nut.IdleTimeout, 1, 86400);

    TNotify &notify = settings.Notify;
    notify.Command = ReadText(ini, "Notify", "Command", notify.Command);
    notify.Timeout = ReadInt(ini, "Notify", "Timeout", notify.Timeout, 1, 3600);
    return settings;
}

QString TServiceSettings::UsersFile(const QString &settingsFile)
{
    return QFileInfo(settingsFile).absolutePath() + QStringLiteral("/upsd.users");
}
