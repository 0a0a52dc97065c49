#pragma once

#include <QString>

class TDeviceList;
struct TEventRec;

// An event of the event log in words, for the outlets outside the program:
// the service's log lines and the notification command's environment.
struct TEventDescription {
    QString Kind;    // "event", "state", "alarm" or "alarm-cleared"
    QString Code;    // the code as a number
    QString Text;    // English, as the event log viewer shows it; may be empty
    QString Address; // bus address; "0" for the program's own events
    QString Name;    // the device's name, empty when none is listed there
    QString Time;    // "yyyy-mm-dd hh:mm:ss"

    static TEventDescription Of(const TEventRec &rec, const TDeviceList &devices);

    // "2026-03-01 12:00:00 UPS-01 (address 1): Communication upbuilt"
    QString LogLine() const;
};
