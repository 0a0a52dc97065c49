#pragma once

#include "SimBus.h"

#include <QList>
#include <QString>

#include <optional>

// What a scenario asks for: the units, their starting settings and the
// timeline, from the command line and from a JSON file alike.
struct SimScenario
{
    QString protocol;                  // empty: not given
    QList<int> units;
    QList<SimEvent> initialSettings;   // applied before the clock starts
    QList<SimEvent> events;

    // "1,3,7" or ranges such as "1-4,9".
    static std::optional<QList<int>> ParseUnitList(const QString &text, QString *error);
    // "key=value,key=value".
    static std::optional<QList<SimSetting>> ParseSettings(const QString &text, QString *error);
    // "[UNIT:]key=value,..." where UNIT is an address or "*" (every unit).
    static std::optional<SimEvent> ParseUnitSettings(const QString &text, QString *error);
    // "SECONDS:UNIT:key=value,..." where UNIT is an address or "*".
    static std::optional<SimEvent> ParseEvent(const QString &text, QString *error);

    // Reads a JSON scenario file into this scenario (see the README).
    bool LoadJson(const QString &path, QString *error);

    // Builds the bus: adds the units, applies the starting settings and
    // queues the timeline. Fails on a setting a unit rejects.
    bool Build(SimBus &bus, QString *error) const;
};
