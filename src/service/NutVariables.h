#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <vector>

struct TUpsInfo;

// What NUT clients read of one unit: its status record in NUT's standard
// variable names and units. Formatting only; nothing here changes a record.
namespace NutVariables {

// Which phases a unit has shown. A unit is taken as three-phase on a side
// once a second or third phase has read anything but 0, and stays so: a
// phase that fails later must show as 0 V, not vanish.
struct TPhases {
    bool Input = false;
    bool Output = false;
    bool Load = false;

    void Note(const TUpsInfo &rec);
};

// Everything about a unit that is not in its record.
struct TUnitFacts {
    quint8 Protocol = 0;     // the Protocol setting
    int LowRuntime = 300;    // s; on battery below this counts as a low battery
    bool ForcedShutdown = false; // a primary has set FSD
    TPhases Phases;
    QString Description;     // the device name
    QString PortName;        // ComName
    QString DriverVersion;
};

struct TVariable {
    QByteArray Name;
    QByteArray Value; // UTF-8, unquoted
    bool IsNumber = true;
};

// The status flags of ups.status, e.g. "OB DISCHRG LB".
QByteArray StatusFlags(const TUpsInfo &rec, const TUnitFacts &facts);

// The English texts of the active alarms, "; " between them; empty when none.
QString AlarmText(const TUpsInfo &rec);

// Every variable of the unit, sorted by name as upsd lists them. Values the
// unit's protocol does not report, and values that are no finite number,
// are left out.
std::vector<TVariable> Variables(const TUpsInfo &rec, const TUnitFacts &facts);

// A few words on a variable for GET DESC; empty for a name we never give.
QString Description(QByteArrayView name);

} // namespace NutVariables
