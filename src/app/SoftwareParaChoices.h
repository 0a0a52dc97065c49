#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

struct TSettings;

// The lists of the software parameter window and what saving them does to
// the settings.

inline constexpr int kComPortCount = 256;

// "COM1" to "COM256", then the serial devices the system reports that no
// COM name already stands for, then the stored name when none of those is
// it: opening and saving the window never loses the port in use.
QStringList PortListItems(const QString &storedComName, const QStringList &systemDevices);

// "2400", "4800", "9600", and the stored rate when it is another positive
// rate, for the same reason.
QStringList BaudListItems(qint32 storedBaudRate);

// Position of the entry equal to text (case counts); the first entry when
// none is.
int ItemIndex(const QStringList &items, const QString &text);

// The baud rate an entry stands for; 2400 for a text that is no number.
qint32 BaudRateFromText(const QString &text);

// The serial devices of this system, as paths to open.
QStringList SystemSerialDevices();

// "YD/T V3.1", "ROrizu", "Modbus": the protocols the program speaks, in
// the order of their codes.
QStringList ProtocolListItems();

// The entry that stands for a stored protocol code (3 is Modbus as well);
// -1, no entry, for a code that selects no protocol.
int ProtocolItemIndex(quint8 protocol);

// The code an entry stores. The Modbus entry keeps a stored 3, and no
// entry keeps whatever code was stored.
quint8 ProtocolFromItem(int index, quint8 stored);

// The paces of polling the window offers, in list order: the fixed pace
// (PollMode 0) and the pace of the bus (PollMode 1).
QStringList PollModeItems(bool chinese);
// The entry that shows a stored PollMode: any value but 1 is the fixed pace.
int PollModeIndex(quint8 pollMode);

// What the window's save button stores in memory.
struct TSoftwareChoices {
    QString ComName;
    QString BaudText;
    bool AutoStart = false;
    int ProtocolIndex = -1; // entry of ProtocolListItems, -1 when none is chosen
    int PollModeIndex = 0;  // entry of PollModeItems
};

// What stops the choices from being saved, in the window's language: a
// network port name that is malformed, or Modbus TCP with a protocol other
// than Modbus. Empty when they can be saved.
QString SoftwareChoicesProblem(const TSoftwareChoices &choices, quint8 language);

// The reply time-out is not offered and keeps its value. The port name is
// taken without the blanks around it.
void ApplySoftwareChoices(TSettings &settings, const TSoftwareChoices &choices);
