#include "SimBus.h"

#include <algorithm>

bool SimBus::AddUnit(int address)
{
    if (address < 1 || address > kMaxAddress || m_units.count(address))
        return false;
    m_units.emplace(address, SimUnit(address));
    return true;
}

SimUnit *SimBus::Unit(int address)
{
    const auto it = m_units.find(address);
    return it == m_units.end() ? nullptr : &it->second;
}

QList<int> SimBus::Addresses() const
{
    QList<int> addresses;
    for (const auto &[address, unit] : m_units)
        addresses.append(address);
    return addresses;
}

bool SimBus::Apply(int unit, const QList<SimSetting> &settings, QString *error)
{
    QList<SimUnit *> targets;
    if (unit == 0) {
        for (auto &[address, u] : m_units)
            targets.append(&u);
    } else if (SimUnit *u = Unit(unit)) {
        targets.append(u);
    } else {
        if (error)
            *error = QStringLiteral("no unit at address %1").arg(unit);
        return false;
    }
    for (SimUnit *u : targets)
        for (const SimSetting &setting : settings)
            if (!u->Apply(setting.key, setting.value, error))
                return false;
    return true;
}

void SimBus::AddEvent(const SimEvent &event)
{
    const auto later = std::upper_bound(m_events.begin(), m_events.end(), event.at,
                                        [](double at, const SimEvent &e) { return at < e.at; });
    m_events.insert(later, event);
}

void SimBus::AdvanceUnits(double seconds)
{
    if (seconds <= 0)
        return;
    for (auto &[address, unit] : m_units)
        unit.Advance(seconds);
    m_now += seconds;
}

void SimBus::AdvanceTo(double seconds)
{
    while (!m_events.isEmpty() && m_events.first().at <= seconds) {
        const SimEvent event = m_events.takeFirst();
        AdvanceUnits(event.at - m_now);
        // Steps were checked when they were read, so they apply cleanly.
        Apply(event.unit, event.settings, nullptr);
        if (m_observer)
            m_observer(event);
    }
    AdvanceUnits(seconds - m_now);
}
