#pragma once

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

// One ADDRESS:PORT a server listens on: "127.0.0.1:3493", "[::1]:3493",
// "0.0.0.0:3493"; "localhost" stands for 127.0.0.1. Port 0 takes any free one.
struct TListenAddress {
    QHostAddress Address;
    quint16 Port = 0;

    // "127.0.0.1:3493", with brackets around an IPv6 address.
    QString Text() const;

    // The addresses of a list separated by commas; each one that cannot be
    // read adds a problem and is left out.
    static QList<TListenAddress> ParseList(const QString &text, QStringList *problems);
};
