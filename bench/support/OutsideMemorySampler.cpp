#include "OutsideMemorySampler.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>

namespace {

long FieldKb(const char *status, const char *field)
{
    const char *at = std::strstr(status, field);
    return at ? std::strtol(at + std::strlen(field), nullptr, 10) : -1;
}

OutsideMemorySampler::Figures Sample(int statusFile)
{
    char text[4096];
    const ssize_t n = ::pread(statusFile, text, sizeof text - 1, 0);
    OutsideMemorySampler::Figures figures;
    if (n <= 0)
        return figures;
    text[n] = '\0';
    figures.RssAnonKb = FieldKb(text, "RssAnon:");
    figures.RssFileKb = FieldKb(text, "RssFile:");
    figures.VmRssKb = FieldKb(text, "VmRSS:");
    return figures;
}

[[noreturn]] void RunSampler(int socket, pid_t watched)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/status", static_cast<int>(watched));
    const int statusFile = ::open(path, O_RDONLY);
    long peak = -1;
    for (;;) {
        OutsideMemorySampler::Figures now = Sample(statusFile);
        if (now.RssAnonKb > peak)
            peak = now.RssAnonKb;
        pollfd wait{socket, POLLIN, 0};
        if (::poll(&wait, 1, 2) <= 0)
            continue;
        char command = 0;
        if (::read(socket, &command, 1) != 1)
            ::_exit(0); // the program has ended
        now = Sample(statusFile);
        peak = std::max(peak, now.RssAnonKb);
        now.PeakRssAnonKb = peak;
        if (command == 'M')
            peak = now.RssAnonKb;
        if (::write(socket, &now, sizeof now) != sizeof now)
            ::_exit(0);
    }
}

} // namespace

OutsideMemorySampler::OutsideMemorySampler()
{
    int sockets[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, sockets) != 0)
        return;
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(sockets[0]);
        RunSampler(sockets[1], parent);
    }
    ::close(sockets[1]);
    if (child < 0) {
        ::close(sockets[0]);
        return;
    }
    FSocket = sockets[0];
    FChild = child;
}

OutsideMemorySampler::~OutsideMemorySampler()
{
    if (FSocket >= 0)
        ::close(FSocket);
    if (FChild > 0)
        ::waitpid(FChild, nullptr, 0);
}

OutsideMemorySampler::Figures OutsideMemorySampler::Ask(char command)
{
    Figures figures;
    if (FSocket < 0 || ::write(FSocket, &command, 1) != 1)
        return figures;
    char *into = reinterpret_cast<char *>(&figures);
    for (std::size_t got = 0; got < sizeof figures;) {
        const ssize_t n = ::read(FSocket, into + got, sizeof figures - got);
        if (n <= 0)
            return Figures();
        got += static_cast<std::size_t>(n);
    }
    return figures;
}

OutsideMemorySampler::Figures OutsideMemorySampler::Mark()
{
    return Ask('M');
}

OutsideMemorySampler::Figures OutsideMemorySampler::Read()
{
    return Ask('P');
}
