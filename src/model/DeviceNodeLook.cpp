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

QString DeviceStatusText(const TUpsInfo &rec, bool portOpened, quint8 language)
{
    if (!portOpened)
        return GetStateText(kStateLinkDown, language);
    switch (rec.LinkState) {
    case kLinkOnline: return rec.State >= 0 ? GetStateText(rec.State, language) : QString();
    case kLinkError: return GetEventText(kEventLinkError, language);
    default: return GetEventText(kEventLinkLost, language);
    }
}

TDeviceNodeLook DeviceNodeLook(const QString &name, const TUpsInfo &rec, bool portOpened, quint8 language)
{
    const QString status = DeviceStatusText(rec, portOpened, language);
    if (!portOpened)
        return {kIconOffline, WithStatus(name, status), RecordIsStale(rec, portOpened)};

    switch (rec.LinkState) {
    case kLinkOnline: {
        const bool alarmed = rec.AlarmCount > 0 || rec.State == kStateMaintBypass;
        return {alarmed ? kIconAlarm : kIconOnline, rec.State >= 0 ? WithStatus(name, status) : name, false};
    }
    case kLinkError:
        return {kIconAlarm, WithStatus(name, status), false};
    default:
        return {kIconOffline, WithStatus(name, status), RecordIsStale(rec, portOpened)};
    }
}
