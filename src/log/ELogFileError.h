#pragma once

#include <QString>

#include <stdexcept>

// Thrown where a log file or directory cannot be created, counted, read or
// emptied: the step that hit it ends, and the application shows the text.
class ELogFileError : public std::runtime_error {
public:
    explicit ELogFileError(const QString &message)
        : std::runtime_error(message.toStdString())
    {
    }
};
