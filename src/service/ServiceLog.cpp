#include "service/ServiceLog.h"

#include "log/DateTime.h"

#include <cstdio>

void LogToStandardError(const QString &line)
{
    WriteStandardErrorLine(FormatDateTime(LocalNow()) + QLatin1Char(' ') + line);
}

void WriteStandardErrorLine(const QString &line)
{
    const QByteArray text = (line + QLatin1Char('\n')).toUtf8();
    // One write per line, so lines of concurrent writers do not interleave.
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    std::fflush(stderr);
}
