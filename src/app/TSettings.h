#pragma once

#include "app/TPortInfo.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

// Every user setting of the monitor. One instance lives for the whole run
// and is handed by reference to whatever reads or changes a setting.
struct TSettings
{
    TPortInfo PortInfo;
    quint8 Language = 0;     // 1 Chinese, anything else English
    qint32 RecInterval = 600; // data log interval in tenths of a second, 0 = off

    bool IsChinese() const;

    friend bool operator==(const TSettings &, const TSettings &) = default;
};

// Fills every setting from the file; a missing file, key or unreadable value
// gives that setting its default. Never fails.
void LoadSettings(TSettings &settings, const QString &path);

// Reads only the port and protocol settings (PortInfo) again, as the port
// button does before it opens the port: a language or data log interval
// chosen since the last save stays as it is in memory.
void LoadPortSettings(TSettings &settings, const QString &path);

// Writes every setting into the file, leaving all its other sections, keys
// and comments as they were. Throws std::runtime_error
// "Unable to write to <path>" when the file cannot be written.
void SaveSettings(const TSettings &settings, const QString &path);

// An integer value of the settings file as the settings read theirs:
// decimal with an optional sign, or hexadecimal after "0x", "0X" or "$";
// nothing for a missing value or any other text. For the sections that
// other parts of the program keep in the same file.
std::optional<qint32> ParseSettingInteger(const std::optional<QByteArray> &text);
