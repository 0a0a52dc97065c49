#include "service/TEventNotifier.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QTimer>

#include <algorithm>

TEventNotifier::TEventNotifier(TServiceLog log, QObject *parent) : QObject(parent), FLog(std::move(log))
{
}

TEventNotifier::~TEventNotifier()
{
    for (QProcess *process : FRunning) {
        process->disconnect(this);
        process->kill();
        process->waitForFinished(1000);
        delete process;
    }
}

void TEventNotifier::Configure(const QString &commandLine, int timeoutSeconds)
{
    const QStringList words = QProcess::splitCommand(commandLine);
    FProgram = words.isEmpty() ? QString() : words.first();
    FArguments = words.mid(1);
    FTimeoutMs = timeoutSeconds * 1000;
    std::fill(std::begin(FReported), std::end(FReported), false);
}

void TEventNotifier::Notify(const TEventDescription &event)
{
    if (!Enabled())
        return;
    if (Waiting() >= kMaxWaiting) {
        ReportOnce(kOverflow, QStringLiteral("notifications fall behind: %1 events are waiting; later ones are not notified")
                                  .arg(Waiting()));
        return;
    }
    FWaiting.push_back(event);
    ScheduleStart();
}

void TEventNotifier::ScheduleStart()
{
    if (FStartScheduled)
        return;
    FStartScheduled = true;
    QTimer::singleShot(0, this, [this] {
        FStartScheduled = false;
        StartWaiting();
    });
}

void TEventNotifier::StartWaiting()
{
    while (!FWaiting.empty() && Running() < kMaxRunning) {
        const TEventDescription event = FWaiting.front();
        FWaiting.pop_front();
        Launch(event);
    }
}

void TEventNotifier::Launch(const TEventDescription &event)
{
    auto *process = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ORVAN_EVENT_KIND"), event.Kind);
    environment.insert(QStringLiteral("ORVAN_EVENT_CODE"), event.Code);
    environment.insert(QStringLiteral("ORVAN_EVENT_TEXT"), event.Text);
    environment.insert(QStringLiteral("ORVAN_ADDRESS"), event.Address);
    environment.insert(QStringLiteral("ORVAN_NAME"), event.Name);
    environment.insert(QStringLiteral("ORVAN_TIME"), event.Time);
    process->setProcessEnvironment(environment);
    process->setProgram(FProgram);
    process->setArguments(FArguments);
    process->setStandardInputFile(QProcess::nullDevice());
    // What the command prints goes where the program's own lines go.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    FRunning.push_back(process);

    connect(process, &QProcess::finished, this, [this, process](int exitCode, QProcess::ExitStatus status) {
        const bool succeeded = status == QProcess::NormalExit && exitCode == 0;
        if (status == QProcess::NormalExit && exitCode != 0)
            ReportOnce(kExitFailed, QStringLiteral("notification command %1 ended with status %2").arg(CommandText()).arg(exitCode));
        Done(process, succeeded);
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // a crash or a kill also ends in finished
        ReportOnce(kStartFailed, QStringLiteral("notification command %1 cannot be run: %2")
                                     .arg(CommandText(), process->errorString()));
        Done(process, false);
    });
    QTimer::singleShot(FTimeoutMs, process, [this, process] {
        if (process->state() == QProcess::NotRunning)
            return;
        ReportOnce(kTimedOut, QStringLiteral("notification command %1 ran longer than %2 s and was stopped")
                                  .arg(CommandText()).arg(FTimeoutMs / 1000));
        process->kill();
    });
    process->start();
}

void TEventNotifier::Done(QProcess *process, bool succeeded)
{
    const auto found = std::find(FRunning.begin(), FRunning.end(), process);
    if (found == FRunning.end())
        return;
    FRunning.erase(found);
    process->disconnect(this);
    process->deleteLater();
    if (succeeded)
        std::fill(std::begin(FReported), std::end(FReported), false);
    StartWaiting();
}

void TEventNotifier::ReportOnce(TFailure failure, const QString &line)
{
    if (FReported[failure])
        return;
    FReported[failure] = true;
    if (FLog)
        FLog(line);
}

QString TEventNotifier::CommandText() const
{
    return QLatin1Char('"') + FProgram + QLatin1Char('"');
}

void TEventNotifier::Finish(int maxMs)
{
    const QDeadlineTimer deadline(maxMs);
    StartWaiting();
    while (!FRunning.empty() && !deadline.hasExpired()) {
        QProcess *process = FRunning.front();
        // Emits finished (or the failure to start), which takes the run off
        // the list and starts the next.
        process->waitForFinished(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        if (!FRunning.empty() && FRunning.front() == process)
            break; // it did not end in time
    }
    if (Running() + Waiting() > 0 && FLog)
        FLog(QStringLiteral("%1 notifications still going at the end are stopped").arg(Running() + Waiting()));
    FWaiting.clear();
}
