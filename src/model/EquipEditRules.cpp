#include "model/EquipEditRules.h"

#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"
#include "serial/GbkText.h"

TNameCheck CheckEquipName(QStringView name)
{
    if (name.isEmpty())
        return TNameCheck::Empty;
    if (GbkFromString(name).size() > TDeviceNode::kNameSize)
        return TNameCheck::TooLong;
    return TNameCheck::Ok;
}

std::vector<quint8> FreeAddresses(const TDeviceList &list)
{
    std::vector<quint8> free;
    for (int addr = 1; addr <= TDeviceList::kCapacity; ++addr)
        if (!list.IsAddrUsed(static_cast<quint8>(addr)))
            free.push_back(static_cast<quint8>(addr));
    return free;
}
