#include "model/EquipEditRules.h"

#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(EquipEditRules, NamesOfOneToFortyBytes)
{
    const QString chinese = QString(QChar(0x8BBE));
    const struct { QString name; TNameCheck check; } cases[] = {
        {QString(), TNameCheck::Empty},
        {QStringLiteral("a"), TNameCheck::Ok},
        {QString(40, 'a'), TNameCheck::Ok},
        {QString(41, 'a'), TNameCheck::TooLong},
        {chinese.repeated(20), TNameCheck::Ok},
        {chinese.repeated(21), TNameCheck::TooLong},
        {QStringLiteral("a") + chinese.repeated(20), TNameCheck::TooLong},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CheckEquipName(c.name), c.check) << c.name.toStdString();
}

TEST(EquipEditRules, FreeAddressesLeaveOutTheMonitoredOnes)
{
    TDeviceList list;
    for (quint8 addr : {5, 1, 2})
        list.AddDevice(TDeviceNode::Make(addr, QStringLiteral("x")));
    std::vector<quint8> expected{3, 4};
    for (int addr = 6; addr <= 252; ++addr)
        expected.push_back(static_cast<quint8>(addr));
    EXPECT_EQ(FreeAddresses(list), expected);

    TDeviceList full;
    for (int addr = 1; addr <= 252; ++addr)
        full.AddDevice(TDeviceNode::Make(static_cast<quint8>(addr), QStringLiteral("x")));
    EXPECT_TRUE(FreeAddresses(full).empty());
}

} // namespace
