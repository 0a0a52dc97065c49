#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT (a logout, a service manager, Ctrl-C), and
// SIGHUP on request, into a signal on the main thread, where the close sequence can run safely. The
// signal handler only writes one byte into a socket pair; the main loop
// reads it. Only one instance may exist at a time; the previous handlers
// come back when it is destroyed.
class TTerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TTerminationSignals(QObject *parent = nullptr);
    ~TTerminationSignals() override;

    bool IsInstalled() const { return FNotifier != nullptr; }

    // Also turns SIGHUP into hangupReceived, for a program that reloads its
    // files on it; without this call SIGHUP keeps its previous handling.
    void HandleHangup();

signals:
    void terminationRequested(int signalNumber);
    void hangupReceived();

private:
    void OnReadable();

    QSocketNotifier *FNotifier = nullptr;
    bool FHangupHandled = false;
};
