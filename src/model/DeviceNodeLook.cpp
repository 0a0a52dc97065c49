#include "model/DeviceNodeLook.h"

#include "model/CodeTexts.h"
#include "model/TUpsInfo.h"
#include "model/UpsInfoRules.h"

namespace {

constexpr qint32 kEventLinkLost = 18;
constexpr qint32 kEventLinkError = 19;

QString WithStatus(const QString &name, const QString &status)
{
    return name + QStringLiteral("  (") + status + QLatin1Char(')');
}

} // namespace

bool RecordIsStale(const TUpsInfo &rec, bool portOpened)
{
    return !portOpened || (rec.LinkState != kLinkOnline && rec.LinkState != kLinkError);
}

TDeviceNodeLook DeviceNodeLook(const QString &name, const TUpsInfo &rec, bool portOpened, quint8 language)
{
    if (!portOpened)
        return {kIconOffline, WithStatus(name, GetStateText(kStateLinkDown, language)), RecordIsStale(rec, portOpened)};

    switch (rec.LinkState) {
    case kLinkOnline: {
        const bool alarmed = rec.AlarmCount > 0 || rec.State == kStateMaintBypass;
        const QString caption = rec.State >= 0 ? WithStatus(name, GetStateText(rec.State, language)) : name;
        return {alarmed ? kIconAlarm : kIconOnline, caption, false};
    }
    case kLinkError:
        return {kIconAlarm, WithStatus(name, GetEventText(kEventLinkError, language)), false};
    default:
        return {kIconOffline, WithStatus(name, GetEventText(kEventLinkLost, language)), RecordIsStale(rec, portOpened)};
    }
}
