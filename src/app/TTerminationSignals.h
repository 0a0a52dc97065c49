#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT (a logout, a service manager, Ctrl-C) into a
// signal on the main thread, where the close sequence can run safely. The
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

signals:
    void terminationRequested(int signalNumber);

private:
    void OnReadable();

    QSocketNotifier *FNotifier = nullptr;
};
