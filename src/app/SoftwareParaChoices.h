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

// What the window's save button stores in memory.
struct TSoftwareChoices {
    QString ComName;
    QString BaudText;
    bool AutoStart = false;
};

// The protocol becomes Modbus: the window offers no other.
void ApplySoftwareChoices(TSettings &settings, const TSoftwareChoices &choices);

inline constexpr quint8 kSoftwareParaProtocol = 2;
