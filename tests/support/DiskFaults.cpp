#include "support/DiskFaults.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <stdexcept>

FileSizeLimit::FileSizeLimit(std::uint64_t bytes)
{
    getrlimit(RLIMIT_FSIZE, &FSaved);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &FSavedAction);
    rlimit limit = FSaved;
    limit.rlim_cur = bytes;
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("cannot set the file size limit");
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &FSaved);
    sigaction(SIGXFSZ, &FSavedAction, nullptr);
}

namespace {

__user_cap_header_struct CapHeader()
{
    __user_cap_header_struct header{};
    header.version = _LINUX_CAPABILITY_VERSION_3;
    header.pid = 0; // the calling thread
    return header;
}

constexpr std::uint32_t kOverrides =
    (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

} // namespace

WithoutPermissionOverride::WithoutPermissionOverride()
{
    __user_cap_header_struct header = CapHeader();
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0)
        return;
    FSavedEffective[0] = data[0].effective;
    FSavedEffective[1] = data[1].effective;
    if ((data[0].effective & kOverrides) == 0)
        return; // an ordinary user already
    data[0].effective &= ~kOverrides;
    if (syscall(SYS_capset, &header, data) != 0)
        throw std::runtime_error("cannot drop the permission override");
    FDropped = true;
}

WithoutPermissionOverride::~WithoutPermissionOverride()
{
    if (!FDropped)
        return;
    __user_cap_header_struct header = CapHeader();
    __user_cap_data_struct data[2] = {};
    syscall(SYS_capget, &header, data);
    data[0].effective = FSavedEffective[0];
    data[1].effective = FSavedEffective[1];
    syscall(SYS_capset, &header, data);
}
