#pragma once

#include <QString>

#include <functional>

// Where the services report what an operator should see: one line per
// report, never a password. The headless service sends it to standard
// error, where the service manager's journal picks it up.
using TServiceLog = std::function<void(const QString &line)>;

// Writes "yyyy-mm-dd hh:mm:ss line" and a line end to standard error.
void LogToStandardError(const QString &line);
// Writes the line as it is, for lines that carry their own time.
void WriteStandardErrorLine(const QString &line);
