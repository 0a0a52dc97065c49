#include "app/TTerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int gSignalFds[2] = {-1, -1};
struct sigaction gOldTerm;
struct sigaction gOldInt;

void OnSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    // Nothing else is safe here; a full pipe just drops a repeated request.
    [[maybe_unused]] const ssize_t written = ::write(gSignalFds[0], &byte, 1);
}

} // namespace

TTerminationSignals::TTerminationSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalFds) != 0)
        return;
    FNotifier = new QSocketNotifier(gSignalFds[1], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TTerminationSignals::OnReadable);

    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &gOldTerm);
    sigaction(SIGINT, &action, &gOldInt);
}

TTerminationSignals::~TTerminationSignals()
{
    if (FNotifier == nullptr)
        return;
    sigaction(SIGTERM, &gOldTerm, nullptr);
    sigaction(SIGINT, &gOldInt, nullptr);
    delete FNotifier;
    ::close(gSignalFds[0]);
    ::close(gSignalFds[1]);
    gSignalFds[0] = gSignalFds[1] = -1;
}

void TTerminationSignals::OnReadable()
{
    char byte = 0;
    if (::read(gSignalFds[1], &byte, 1) == 1)
        emit terminationRequested(static_cast<unsigned char>(byte));
}
