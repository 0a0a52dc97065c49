#include "log/DropPages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

void DropPages(void *data, std::size_t bytes)
{
#if defined(__linux__)
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t last = (begin + bytes) / page * page;
    if (last > first)
        ::madvise(reinterpret_cast<void *>(first), last - first, MADV_DONTNEED);
#else
    (void)data;
    (void)bytes;
#endif
}
