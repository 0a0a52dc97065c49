#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// A scratch directory for the targets whose input is a file, made once per
// run and removed at exit. It lives in memory where the system offers that.
QString FuzzScratchDir();

// Writes the input as the file at `path`, replacing what was there.
void WriteFuzzFile(const QString &path, const std::uint8_t *data, std::size_t size);

// Stops the run with a report when a property the code promises fails.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition))                                                                         \
            FuzzCheckFailed(#condition, __FILE__, __LINE__);                                      \
    } while (false)

[[noreturn]] void FuzzCheckFailed(const char *condition, const char *file, int line);
