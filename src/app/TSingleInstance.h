#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Keeps the program to one running copy per user. The first copy listens on
// a local socket named after the application title and the user; a later
// start connects to it, asks it to come to the front and ends.
class TSingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit TSingleInstance(const QString &serverName, QObject *parent = nullptr);
    ~TSingleInstance() override;

    // "Orvan 2000-<user>": one name per title and user.
    static QString ServerName(const QString &appTitle);

    // True when another copy answered and was asked to come to the front.
    bool ActivateRunning(int timeoutMs = 1000) const;

    // Starts listening. A socket left behind by a copy that crashed is
    // removed first. False when listening fails.
    bool Listen();

signals:
    void activationRequested();

private:
    void OnNewConnection();

    QString FServerName;
    QLocalServer *FServer = nullptr;
};
