#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

// One monitored device, laid out byte for byte as a record of TreeNode.dat.
struct TDeviceNode
{
    static constexpr qsizetype kNameSize = 40;
    static constexpr char kNamePad = '\r';

    quint8 NodeIndex = 0; // low 8 bits of the device's tree index; not used to find it
    quint8 Addr = 0;      // bus address; see HasBusAddress
    char Name[kNameSize] = {}; // GBK, padded with carriage returns, no terminator when full

    // Units answer at 1 to 252. A damaged or foreign list file can hold 0
    // (the broadcast address) or 253 to 255: such a device is listed but
    // never polled, addressed or looked up in the status table.
    static constexpr bool IsBusAddress(int addr) { return addr >= 1 && addr <= 252; }
    bool HasBusAddress() const { return IsBusAddress(Addr); }

    // A device with the name stored as the add and search windows store it.
    static TDeviceNode Make(quint8 addr, QStringView name);

    // name in GBK, cut to 40 bytes without splitting a character and padded
    // with carriage returns to exactly 40 bytes.
    static QByteArray StoredName(QStringView name);

    // Puts stored into Name: at most 40 bytes; a shorter one is followed by
    // zero bytes, so nothing of an older, longer name remains.
    void SetName(QByteArrayView stored);

    // The name as text: the bytes before the first carriage return or zero byte.
    QString NameText() const;
};

static_assert(sizeof(TDeviceNode) == 42, "TreeNode.dat records are 42 bytes");
