#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

// A full disk, as far as this process can tell: files cannot grow past
// `bytes` while the object lives. A write that crosses the limit writes what
// fits and then fails (EFBIG), as on a disk that fills up in mid-write. The
// signal the kernel would send for it is ignored meanwhile, as a program on
// a full disk gets no signal either.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit FSaved{};
    struct sigaction FSavedAction {};
};

// File permissions as an ordinary user meets them. Tests run as root in CI,
// and root writes into read-only directories; while the object lives, the
// calling thread gives up the capabilities that override permissions.
class WithoutPermissionOverride
{
public:
    WithoutPermissionOverride();
    ~WithoutPermissionOverride();
    WithoutPermissionOverride(const WithoutPermissionOverride &) = delete;
    WithoutPermissionOverride &operator=(const WithoutPermissionOverride &) = delete;

private:
    std::uint32_t FSavedEffective[2] = {};
    bool FDropped = false;
};
