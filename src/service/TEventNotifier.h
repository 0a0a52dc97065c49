#pragma once

#include "service/EventDescription.h"
#include "service/ServiceLog.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

// Runs the notification command for every event: a program with its
// arguments, started without a shell, with the event in its environment
// (ORVAN_EVENT_KIND, ORVAN_EVENT_CODE, ORVAN_EVENT_TEXT, ORVAN_ADDRESS,
// ORVAN_NAME, ORVAN_TIME). Runs start from the event loop, never inside the
// poll step that raised the event; a few run at once, the others wait in a
// bounded queue, and each run has a time limit. A failure is reported once,
// not per event, until a run succeeds again.
class TEventNotifier : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxRunning = 4;
    static constexpr int kMaxWaiting = 200;

    explicit TEventNotifier(TServiceLog log, QObject *parent = nullptr);
    // Stops the runs that are still going.
    ~TEventNotifier() override;

    // commandLine is split into words at blanks, double quotes keeping a
    // word with blanks together; no shell runs it, so $, | and ; are plain
    // characters. Empty switches notifications off.
    void Configure(const QString &commandLine, int timeoutSeconds);
    bool Enabled() const { return !FProgram.isEmpty(); }

    void Notify(const TEventDescription &event);

    int Running() const { return static_cast<int>(FRunning.size()); }
    int Waiting() const { return static_cast<int>(FWaiting.size()); }

    // At program end: lets the queue run out, at most maxMs.
    void Finish(int maxMs);

private:
    enum TFailure { kStartFailed, kExitFailed, kTimedOut, kOverflow, kFailures };

    void ScheduleStart();
    void StartWaiting();
    void Launch(const TEventDescription &event);
    void Done(QProcess *process, bool succeeded);
    void ReportOnce(TFailure failure, const QString &line);
    QString CommandText() const;

    TServiceLog FLog;
    QString FProgram;
    QStringList FArguments;
    int FTimeoutMs = 30000;
    std::deque<TEventDescription> FWaiting;
    std::vector<QProcess *> FRunning;
    bool FStartScheduled = false;
    bool FReported[kFailures] = {};
};
