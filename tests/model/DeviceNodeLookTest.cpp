#include "model/DeviceNodeLook.h"

#include "model/TUpsInfo.h"

#include <gtest/gtest.h>

TEST(DeviceNodeLook, IconCaptionAndClearingByLinkState)
{
    const struct {
        bool portOpened;
        std::uint8_t link;
        std::int32_t state;
        std::uint8_t alarms;
        quint8 language;
        TTreeIcon icon;
        const char *caption;
        bool clear;
    } cases[] = {
        {false, kLinkOnline, 4, 0, 0, kIconOffline, "UPS1  (Communication lost)", true},
        {false, kLinkOnline, 4, 0, 1, kIconOffline, "UPS1  (通讯中断)", true},
        {true, kLinkOnline, 4, 0, 0, kIconOnline, "UPS1  (Online)", false},
        {true, kLinkOnline, 4, 2, 0, kIconAlarm, "UPS1  (Online)", false},
        {true, kLinkOnline, 10, 0, 0, kIconAlarm, "UPS1  (Maintain Bypass Status)", false},
        {true, kLinkOnline, -1, 0, 0, kIconOnline, "UPS1", false},
        {true, kLinkError, 4, 0, 0, kIconAlarm, "UPS1  (Communication Error)", false},
        {true, kLinkError, 4, 0, 1, kIconAlarm, "UPS1  (通讯异常)", false},
        {true, kLinkLost, 4, 0, 0, kIconOffline, "UPS1  (Communication lost)", true},
    };
    for (const auto &c : cases) {
        TUpsInfo rec;
        rec.LinkState = c.link;
        rec.State = c.state;
        rec.AlarmCount = c.alarms;
        const TDeviceNodeLook look = DeviceNodeLook(QStringLiteral("UPS1"), rec, c.portOpened, c.language);
        EXPECT_EQ(look, (TDeviceNodeLook{c.icon, QString::fromUtf8(c.caption), c.clear})) << c.caption;
    }
}
