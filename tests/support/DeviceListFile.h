#pragma once

#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"
#include "support/FileBytes.h"

#include <QDir>
#include <QString>

#include <initializer_list>
#include <utility>
#include <vector>

// Writes the device list file of a record directory as the device windows
// save it: one 42-byte record per device, in this order.
inline void WriteDeviceListFile(const QString &recordDir, const std::vector<std::pair<quint8, QString>> &devices)
{
    QDir().mkpath(recordDir);
    QByteArray file;
    for (const auto &[addr, name] : devices) {
        const TDeviceNode node = TDeviceNode::Make(addr, name);
        file.append(reinterpret_cast<const char *>(&node), sizeof node);
    }
    WriteFileBytes(TDeviceList::FilePath(recordDir), file);
}

// The same with every device named "UPS" and its address.
inline void WriteDeviceListFile(const QString &recordDir, std::initializer_list<quint8> addrs)
{
    std::vector<std::pair<quint8, QString>> devices;
    for (quint8 addr : addrs)
        devices.emplace_back(addr, QStringLiteral("UPS%1").arg(addr));
    WriteDeviceListFile(recordDir, devices);
}
