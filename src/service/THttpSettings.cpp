#include "service/THttpSettings.h"

#include "app/TIniText.h"

#include <QFile>

THttpSettings THttpSettings::Load(const QString &settingsFile)
{
    THttpSettings settings;
    QFile file(settingsFile);
    if (!file.open(QIODevice::ReadOnly))
        return settings;
    const TIniText ini(file.readAll());
    if (const auto enabled = ini.Value("Http", "Enabled")) {
        bool ok = false;
        const int value = enabled->toInt(&ok, 0);
        if (ok)
            settings.Enabled = value != 0;
    }
    if (const auto listen = ini.Value("Http", "Listen"); listen && !listen->isEmpty())
        settings.Listen = QString::fromUtf8(*listen);
    return settings;
}
