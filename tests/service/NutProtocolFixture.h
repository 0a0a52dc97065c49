#pragma once

#include "app/TMonitorState.h"
#include "model/TDeviceNode.h"
#include "service/TNutProtocol.h"

#include <QStringList>

#include <gtest/gtest.h>

// The NUT protocol over the program-wide instances of a Modbus bus: unit 1
// online on mains, unit 2 online under a Chinese name, unit 7 listed but
// lost; users from a small users file.
class NutProtocolFixture : public ::testing::Test
{
protected:
    static constexpr const char *kUsers = "[admin]\n password = s3cret\n instcmds = ALL\n actions = SET\n"
                                          "[tester]\n password = t\n instcmds = test.battery.start\n"
                                          "[mon]\n password = m\n upsmon primary\n"
                                          "[mon2]\n password = m2\n upsmon secondary\n";

    TMonitorState State;
    bool PortOpen = true;
    QStringList Logged;
    TNutProtocol Protocol{TNutData{State.DeviceList, State.UpsInfo, State.CmdQueue, State.Settings,
                                   [this] { return PortOpen; }, QStringLiteral("1.0.0.1")},
                          [this](const QString &line) { Logged << line; }};
    TNutSession *Session = nullptr;

    NutProtocolFixture()
    {
        State.Settings.PortInfo.Protocol = 2;
        State.Settings.PortInfo.ComName = QStringLiteral("/dev/ttyUSB0");
        State.UpsInfo.Reset();
        State.DeviceList.AddDevice(TDeviceNode::Make(1, QStringLiteral("UPS-01")));
        State.DeviceList.AddDevice(TDeviceNode::Make(2, QStringLiteral("东区")));
        State.DeviceList.AddDevice(TDeviceNode::Make(7, QStringLiteral("Spare")));
        for (int addr : {1, 2}) {
            TUpsInfo &rec = State.UpsInfo[addr];
            rec.LinkState = kLinkOnline;
            rec.State = 4;
            rec.InputSupply = 1;
            rec.UpsSupply = 1;
            rec.InputVolt[0] = 230.0;
            rec.OutputVolt[0] = 230.0;
            rec.LoadPercent[0] = 35.0;
            rec.OutputFreq = 50.0;
            rec.BattCapacity = 100;
            rec.BattBackupTime = 30;
        }
        Protocol.SetUsers(TNutUsers::Parse(kUsers));
        Session = &Protocol.OpenSession("127.0.0.1");
    }

    QByteArray Ask(const QByteArray &line) { return Protocol.Handle(*Session, line); }
    QByteArray Ask(TNutSession &session, const QByteArray &line) { return Protocol.Handle(session, line); }

    // A session with USERNAME and PASSWORD sent.
    TNutSession &LoggedIn(const QByteArray &user, const QByteArray &password)
    {
        TNutSession &session = Protocol.OpenSession("127.0.0.2");
        EXPECT_EQ(Ask(session, "USERNAME " + user), "OK\n");
        EXPECT_EQ(Ask(session, "PASSWORD " + password), "OK\n");
        return session;
    }
};
