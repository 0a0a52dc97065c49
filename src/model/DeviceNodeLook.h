#pragma once

#include <QString>
#include <QtGlobal>

struct TUpsInfo;

// Icons of the device tree.
enum TTreeIcon : int {
    kIconOffline = 0, // not communicating, or the port is closed
    kIconOnline = 1,  // online without alarms
    kIconAlarm = 2,   // online with alarms or in maintenance bypass, or a communication error
    kIconChild = 3    // "Real-time Info" and "Graph"
};

// How a device node shows its device: icon, caption, and whether the
// device's live values are stale and must be cleared.
struct TDeviceNodeLook {
    TTreeIcon Icon = kIconOffline;
    QString Caption;
    bool ClearRecord = false;

    bool operator==(const TDeviceNodeLook &) const = default;
};

// The device's status in words, as its node shows it after the name: the
// operating state while online (empty while none is known), otherwise the
// link trouble; a closed port counts as a lost link.
QString DeviceStatusText(const TUpsInfo &rec, bool portOpened, quint8 language);

// Whether a device's live values are stale: the port is closed or its link
// is lost. Such a record is cleared, so nothing shows values that are old.
bool RecordIsStale(const TUpsInfo &rec, bool portOpened);

TDeviceNodeLook DeviceNodeLook(const QString &name, const TUpsInfo &rec, bool portOpened, quint8 language);
