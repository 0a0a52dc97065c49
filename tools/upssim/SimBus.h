#pragma once

#include "SimUnit.h"

#include <QList>
#include <QString>

#include <functional>
#include <map>

struct SimSetting
{
    QString key;
    QString value;
};

// A scenario step: at a time (seconds since start), settings for one unit or,
// with unit 0, for every unit.
struct SimEvent
{
    double at = 0;
    int unit = 0;
    QList<SimSetting> settings;
};

// The simulated units on one bus, their common clock and the scenario
// timeline. Time moves only through AdvanceTo().
class SimBus
{
public:
    // The monitor watches up to 252 units, one per address.
    static constexpr int kMaxAddress = 252;

    // Returns false for an address outside 1 to kMaxAddress or one already present.
    bool AddUnit(int address);
    SimUnit *Unit(int address);
    QList<int> Addresses() const;

    // Applies settings to one unit, or to all units with address 0.
    bool Apply(int unit, const QList<SimSetting> &settings, QString *error);

    // Scenario steps due at or before a time fire in time order, steps of the
    // same time in the order they were added.
    void AddEvent(const SimEvent &event);
    void AdvanceTo(double seconds);
    double Now() const { return m_now; }

    // Told about each scenario step as it fires, for a console log.
    void SetEventObserver(std::function<void(const SimEvent &)> observer) { m_observer = std::move(observer); }

private:
    void AdvanceUnits(double seconds);

    std::map<int, SimUnit> m_units;
    QList<SimEvent> m_events; // sorted by time, not yet fired
    double m_now = 0;
    std::function<void(const SimEvent &)> m_observer;
};
