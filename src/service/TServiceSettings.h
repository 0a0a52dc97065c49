#pragma once

#include <QString>

// The settings of the services, read from their own sections of the
// settings file. The monitor's own settings code neither reads nor writes
// them, so saving the monitor's settings keeps them as the user wrote them.
struct TServiceSettings {
    struct TNutServer {
        bool Enabled = false;
        QString Listen = QStringLiteral("127.0.0.1:3493");
        int LowRuntime = 300;   // s
        int MaxClients = 32;
        int IdleTimeout = 300;  // s

        friend bool operator==(const TNutServer &, const TNutServer &) = default;
    };
    struct TNotify {
        QString Command;        // empty: no notifications
        int Timeout = 30;       // s a run may take before it is stopped

        friend bool operator==(const TNotify &, const TNotify &) = default;
    };

    TNutServer NutServer;
    TNotify Notify;

    // Missing or unreadable values take their defaults; numbers outside
    // their range are brought into it.
    static TServiceSettings Load(const QString &settingsFile);

    // "upsd.users" beside the settings file.
    static QString UsersFile(const QString &settingsFile);
};
