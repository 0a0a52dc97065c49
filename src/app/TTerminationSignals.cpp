#include "app/TTerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int gSignalFds[2] = {-1, -1};
struct sigaction gOldTerm;
struct sigaction gOldInt;
struct sigaction gOldHup;

void OnSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    // Nothing else is safe here; a full pipe just drops a repeated request.
    [[maybe_unused]] const ssize_t written = ::write(gSignalFds[0], &byte, 1);
}

void Install(int signalNumber, struct sigaction *old)
{
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, old);
}

} // namespace

TTerminationSignals::TTerminationSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gSignalFds) != 0)
        return;
    FNotifier = new QSocketNotifier(gSignalFds[1], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, &TTerminationSignals::OnReadable);

    Install(SIGTERM, &gOldTerm);
    Install(SIGINT, &gOldInt);
}

void TTerminationSignals::HandleHangup()
{
    if (FNotifier == nullptr || FHangupHandled)
        return;
    FHangupHandled = true;
    Install(SIGHUP, &gOldHup);
}

TTerminationSignals::~TTerminationSignals()
{
    if (FNotifier == nullptr)
        return;
    sigaction(SIGTERM, &gOldTerm, nullptr);
    sigaction(SIGINT, &gOldInt, nullptr);
    if (FHangupHandled)
        sigaction(SIGHUP, &gOldHup, nullptr);
    delete FNotifier;
    ::close(gSignalFds[0]);
    ::close(gSignalFds[1]);
    gSignalFds[0] = gSignalFds[1] = -1;
}

void TTerminationSignals::OnReadable()
{
    char byte = 0;
    if (::read(gSignalFds[1], &byte, 1) != 1)
        return;
    const int signalNumber = static_cast<unsigned char>(byte);
    if (signalNumber == SIGHUP)
        emit hangupReceived();
    else
        emit terminationRequested(signalNumber);
}
