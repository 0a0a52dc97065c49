#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

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

    // Decides whether this copy is the one to run: true when it took the
    // lock beside the socket and listens; false when another copy holds it,
    // which is then asked to come to the front (it may still be starting
    // and listen only a moment later, so this asks for up to timeoutMs).
    // Two copies started at the same moment never both run.
    bool Claim(int timeoutMs = 3000);

    // True when another copy answered and was asked to come to the front.
    bool ActivateRunning(int timeoutMs = 1000) const;

    // Starts listening. A socket left behind by a copy that crashed is
    // removed first: only the holder of the lock may do that. False when
    // listening fails.
    bool Listen();

signals:
    void activationRequested();

private:
    void OnNewConnection();

    QString FServerName;
    QLocalServer *FServer = nullptr;
    std::unique_ptr<QLockFile> FLock;
};
