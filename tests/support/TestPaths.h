#pragma once

#include <QString>

// Where the tests find their fixtures and the command-line tools they drive.
inline QString TestDataPath(const QString &name)
{
    return QStringLiteral(ORVAN_TEST_DATA_DIR "/") + name;
}

inline QString ToolPath(const QString &tool)
{
    return QStringLiteral(ORVAN_TOOLS_BIN_DIR "/") + tool + QLatin1Char('/') + tool;
}
