#include "model/TDeviceNode.h"

#include "serial/GbkText.h"

#include <algorithm>
#include <cstring>

TDeviceNode TDeviceNode::Make(quint8 addr, QStringView name)
{
    TDeviceNode node;
    node.Addr = addr;
    node.SetName(StoredName(name));
    return node;
}

QByteArray TDeviceNode::StoredName(QStringView name)
{
    return GbkFit(name, kNameSize, kNamePad);
}

void TDeviceNode::SetName(QByteArrayView stored)
{
    const qsizetype length = std::min(stored.size(), kNameSize);
    std::memset(Name, 0, sizeof Name);
    std::memcpy(Name, stored.data(), static_cast<size_t>(length));
}

QString TDeviceNode::NameText() const
{
    const QByteArrayView field(Name, kNameSize);
    qsizetype end = 0;
    while (end < field.size() && field[end] != kNamePad && field[end] != '\0')
        ++end;
    return GbkToString(field.first(end));
}
