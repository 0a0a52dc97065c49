#include "SimScenario.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool Fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

std::optional<int> ParseUnit(const QString &text, QString *error)
{
    const QString t = text.trimmed();
    if (t == QLatin1String("*"))
        return 0;
    bool ok = false;
    const int unit = t.toInt(&ok);
    if (!ok || unit < 1 || unit > SimBus::kMaxAddress) {
        Fail(error, QStringLiteral("bad unit address '%1'").arg(text));
        return std::nullopt;
    }
    return unit;
}

QString JsonValueText(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    if (value.isDouble())
        return QString::number(value.toDouble(), 'g', 12);
    return value.toString();
}

// Every member of a JSON object except the ones that say where and when.
QList<SimSetting> JsonSettings(const QJsonObject &object, const QStringList &skip)
{
    QList<SimSetting> settings;
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (skip.contains(it.key()))
            continue;
        if (it.value().isArray()) { // "alarm": [3, 40] sets several codes
            for (const QJsonValue &item : it.value().toArray())
                settings.append({it.key(), JsonValueText(item)});
        } else {
            settings.append({it.key(), JsonValueText(it.value())});
        }
    }
    return settings;
}

} // namespace

std::optional<QList<int>> SimScenario::ParseUnitList(const QString &text, QString *error)
{
    QList<int> units;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList range = part.split(QLatin1Char('-'));
        bool okFirst = false;
        bool okLast = range.size() == 2;
        const int first = range.first().trimmed().toInt(&okFirst);
        const int last = range.size() == 2 ? range.last().trimmed().toInt(&okLast) : first;
        if (!okFirst || (range.size() == 2 && !okLast) || range.size() > 2 || first < 1 || last > SimBus::kMaxAddress
            || last < first) {
            Fail(error, QStringLiteral("bad unit list entry '%1' (addresses are 1 to %2)").arg(part).arg(SimBus::kMaxAddress));
            return std::nullopt;
        }
        for (int unit = first; unit <= last; ++unit)
            if (!units.contains(unit))
                units.append(unit);
    }
    if (units.isEmpty()) {
        Fail(error, QStringLiteral("no unit addresses given"));
        return std::nullopt;
    }
    return units;
}

std::optional<QList<SimSetting>> SimScenario::ParseSettings(const QString &text, QString *error)
{
    QList<SimSetting> settings;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const qsizetype equals = part.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            Fail(error, QStringLiteral("expected key=value, got '%1'").arg(part));
            return std::nullopt;
        }
        settings.append({part.left(equals).trimmed(), part.mid(equals + 1).trimmed()});
    }
    if (settings.isEmpty()) {
        Fail(error, QStringLiteral("no settings in '%1'").arg(text));
        return std::nullopt;
    }
    return settings;
}

std::optional<SimEvent> SimScenario::ParseUnitSettings(const QString &text, QString *error)
{
    SimEvent event;
    QString settingsText = text;
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const auto unit = ParseUnit(text.left(colon), error);
        if (!unit)
            return std::nullopt;
        event.unit = *unit;
        settingsText = text.mid(colon + 1);
    }
    const auto settings = ParseSettings(settingsText, error);
    if (!settings)
        return std::nullopt;
    event.settings = *settings;
    return event;
}

std::optional<SimEvent> SimScenario::ParseEvent(const QString &text, QString *error)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    bool ok = false;
    const double at = colon > 0 ? text.left(colon).trimmed().toDouble(&ok) : 0;
    if (!ok || at < 0) {
        Fail(error, QStringLiteral("expected SECONDS:UNIT:key=value,..., got '%1'").arg(text));
        return std::nullopt;
    }
    if (text.indexOf(QLatin1Char(':'), colon + 1) < 0) {
        Fail(error, QStringLiteral("expected SECONDS:UNIT:key=value,..., got '%1'").arg(text));
        return std::nullopt;
    }
    auto event = ParseUnitSettings(text.mid(colon + 1), error);
    if (event)
        event->at = at;
    return event;
}

bool SimScenario::LoadJson(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(error, QStringLiteral("cannot open %1: %2").arg(path, file.errorString()));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return Fail(error, QStringLiteral("%1: not a JSON object (%2)").arg(path, parseError.errorString()));
    const QJsonObject root = document.object();

    if (root.contains(QLatin1String("protocol")))
        protocol = root.value(QLatin1String("protocol")).toString();
    if (root.contains(QLatin1String("all")))
        initialSettings.append({0, 0, JsonSettings(root.value(QLatin1String("all")).toObject(), {})});
    for (const QJsonValue &value : root.value(QLatin1String("units")).toArray()) {
        const QJsonObject object = value.toObject();
        const int address = object.value(QLatin1String("address")).toInt(-1);
        if (address < 1 || address > SimBus::kMaxAddress)
            return Fail(error, QStringLiteral("%1: a unit needs an address from 1 to %2").arg(path).arg(SimBus::kMaxAddress));
        if (!units.contains(address))
            units.append(address);
        const QList<SimSetting> settings = JsonSettings(object, {QStringLiteral("address")});
        if (!settings.isEmpty())
            initialSettings.append({0, address, settings});
    }
    for (const QJsonValue &value : root.value(QLatin1String("events")).toArray()) {
        const QJsonObject object = value.toObject();
        SimEvent event;
        event.at = object.value(QLatin1String("at")).toDouble(-1);
        const QJsonValue unit = object.value(QLatin1String("unit"));
        event.unit = unit.isString() && unit.toString() == QLatin1String("*") ? 0 : unit.toInt(-1);
        if (event.at < 0 || event.unit < 0 || event.unit > SimBus::kMaxAddress)
            return Fail(error, QStringLiteral("%1: an event needs \"at\" (seconds) and \"unit\" (address or \"*\")").arg(path));
        event.settings = JsonSettings(object, {QStringLiteral("at"), QStringLiteral("unit")});
        events.append(event);
    }
    return true;
}

bool SimScenario::Build(SimBus &bus, QString *error) const
{
    for (int unit : units)
        bus.AddUnit(unit);
    for (const SimEvent &setting : initialSettings)
        if (!bus.Apply(setting.unit, setting.settings, error))
            return false;
    // Try every step on a copy first, so that a mistake in the timeline shows
    // at start rather than minutes later.
    for (const SimEvent &event : events) {
        SimBus trial = bus;
        trial.SetEventObserver(nullptr);
        if (!trial.Apply(event.unit, event.settings, error))
            return Fail(error, QStringLiteral("event at %1 s: %2").arg(event.at).arg(error ? *error : QString()));
        bus.AddEvent(event);
    }
    return true;
}
