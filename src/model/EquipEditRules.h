#pragma once

#include <QStringView>
#include <QtGlobal>

#include <vector>

class TDeviceList;

// Rules the add and property windows share with the device list.

enum class TNameCheck { Ok, Empty, TooLong };

// A device name must be 1 to 40 bytes in the encoding of the device file,
// where a Chinese character takes two.
TNameCheck CheckEquipName(QStringView name);

// The bus addresses a new device can take, ascending: 1 to 252 less those
// the list monitors already.
std::vector<quint8> FreeAddresses(const TDeviceList &list);
