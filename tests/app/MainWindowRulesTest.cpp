#include "app/MainCommandRules.h"
#include "app/MainWindowTexts.h"
#include "app/TMainTicker.h"
#include "model/TUpsInfo.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MainWindowTexts, PortStatusInBothLanguages)
{
    const struct { bool opened; quint8 language; const char *expected; } cases[] = {
        {false, 0, "COM is closed"},
        {false, 1, "串口已关闭"},
        {true, 0, "COM3 is Link"},
        {true, 1, "COM3  已开启"},
        {true, 7, "COM3 is Link"}, // anything but 1 is English
    };
    for (const auto &c : cases)
        EXPECT_EQ(PortStatusText(c.opened, QStringLiteral("COM3"), {TLinkPhase::Connected, {}, 0}, c.language),
                  QString::fromUtf8(c.expected))
            << c.opened << " " << int(c.language);
}

TEST(MainWindowTexts, NetworkPortStatusTellsWhereTheLinkStands)
{
    const QString port = QStringLiteral("tcp://10.0.0.5:4001");
    const struct { TLinkStatus link; quint8 language; const char *expected; } cases[] = {
        {{TLinkPhase::Connecting, {}, 0}, 0, "tcp://10.0.0.5:4001 connecting…"},
        {{TLinkPhase::Connected, {}, 0}, 0, "tcp://10.0.0.5:4001 connected"},
        {{TLinkPhase::Waiting, "Connection refused", 4}, 0, "tcp://10.0.0.5:4001: Connection refused; retry in 4 s"},
        {{TLinkPhase::Waiting, "Connection refused", 4}, 1, "tcp://10.0.0.5:4001：Connection refused，4 秒后重试"},
        {{TLinkPhase::Connected, {}, 0}, 1, "tcp://10.0.0.5:4001  已连接"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PortStatusText(true, port, c.link, c.language), QString::fromUtf8(c.expected));
    EXPECT_EQ(PortStatusText(false, port, {TLinkPhase::Closed, {}, 0}, 0), QStringLiteral("COM is closed"));
}

TEST(TMainTicker, StatusPassEvery11thTickAndRefreshEvery66th)
{
    TMainTicker ticker;
    std::vector<int> passes;
    std::vector<int> refreshes;
    for (int tick = 1; tick <= 132; ++tick) {
        const TMainTicker::TStep step = ticker.Tick();
        EXPECT_TRUE(step.StatusPass || !step.Refresh) << tick;
        if (step.StatusPass)
            passes.push_back(tick);
        if (step.Refresh)
            refreshes.push_back(tick);
    }
    EXPECT_EQ(passes, (std::vector<int>{11, 22, 33, 44, 55, 66, 77, 88, 99, 110, 121, 132}));
    EXPECT_EQ(refreshes, (std::vector<int>{66, 132}));
}

TEST(MainCommandRules, ControlCommandsOnlyForModbus)
{
    for (int protocol = 0; protocol <= 5; ++protocol)
        EXPECT_EQ(ControlCommandsVisible(static_cast<quint8>(protocol)), protocol == 2 || protocol == 3) << protocol;
}

TEST(MainCommandRules, DeviceCommandsNeedASelectedNodeAndUserSetAnOnlineDevice)
{
    EXPECT_FALSE(DeviceCommandsEnabled(-1));
    EXPECT_TRUE(DeviceCommandsEnabled(0));
    TUpsInfo rec;
    for (std::uint8_t link : {kLinkOnline, kLinkError, kLinkLost}) {
        rec.LinkState = link;
        EXPECT_EQ(UserSettingsAllowed(rec), link == kLinkOnline) << int(link);
    }
}
