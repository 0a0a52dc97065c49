#pragma once

#include "model/TCaptionRow.h"
#include "serial/TBusTransport.h"

#include <QString>
#include <QtGlobal>

#include <vector>

// Texts the main window shows in status panels, on the port button and in
// its message boxes, in the language of the Language setting.
struct TShellTexts {
    QString OpenPort;       // port button while the port is closed
    QString ClosePort;      // port button while the port is open
    QString PortOpenSuffix; // status panel 1, after the port name
    QString PortClosed;     // status panel 1
    QString PortError;      // the port could not be opened at start
    QString DeviceNotOnline;
    QString ExitQuestion;
    QString WindowTitle;
    QString ExitWithoutSavingQuestion; // after the settings could not be written
};

TShellTexts ShellTexts(quint8 language);

// Menus, toolbar hints and the device buttons of the main window.
std::vector<TCaptionRow> MainWindowCaptions(quint8 language);

// Status panel 1: the port name and the open suffix, or the closed text.
// For a network port, where its link stands: connecting, connected, or the
// error of the last attempt and when the next one is made.
QString PortStatusText(bool portOpened, const QString &comName, const TLinkStatus &link, quint8 language);
