#pragma once

#include <QtGlobal>

struct TUpsInfo;

// When the main window's commands are offered. Kept apart from the window so
// the rules are checked without one.

// The control menu and the user settings item exist only for the Modbus
// protocols, the only ones that carry commands and the parameter block.
bool ControlCommandsVisible(quint8 protocol);

// Delete and property act on the selected tree node, so they need one.
bool DeviceCommandsEnabled(qint32 selectedTreeIndex);

// The user settings window shows live values: only for an online device.
bool UserSettingsAllowed(const TUpsInfo &selected);
