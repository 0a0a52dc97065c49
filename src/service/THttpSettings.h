#pragma once

#include <QString>

// The settings of the HTTP side, section "Http" of the settings file. The
// monitor's own settings code neither reads nor writes them, so a save
// keeps them as the user wrote them.
struct THttpSettings {
    bool Enabled = false;
    QString Listen = QStringLiteral("127.0.0.1:9613"); // ADDRESS:PORT

    friend bool operator==(const THttpSettings &, const THttpSettings &) = default;

    // A missing file, key or unreadable value gives the default.
    static THttpSettings Load(const QString &settingsFile);
};
