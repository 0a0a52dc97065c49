#include "service/TNutProtocol.h"

#include "control/ControlCommands.h"
#include "service/NutProtocolFixture.h"

TEST_F(NutProtocolFixture, AnswersWithTheRepliesAndErrorWordsOfUpsd)
{
    const struct {
        QByteArray request;
        QByteArray reply;
    } cases[] = {
        {"NETVER", "1.3\n"},
        {"VER", "Orvan 2000 1.0.0.1 - NUT network protocol 1.3\n"},
        {"GET VAR ups1 ups.status", "VAR ups1 ups.status \"OL\"\n"},
        {"get var UPS1 Input.Voltage", "VAR ups1 input.voltage \"230.0\"\n"},
        {"GET VAR ups1 battery.runtime", "VAR ups1 battery.runtime \"1800\"\n"},
        {"GET VAR ups7 ups.status", "ERR DATA-STALE\n"},
        {"GET VAR ups9 ups.status", "ERR UNKNOWN-UPS\n"},
        {"GET VAR ups01 ups.status", "ERR UNKNOWN-UPS\n"},
        {"GET VAR ups1 ups.nothing", "ERR VAR-NOT-SUPPORTED\n"},
        {"GET UPSDESC ups2", "UPSDESC ups2 \"\xe4\xb8\x9c\xe5\x8c\xba\"\n"},
        {"GET NUMLOGINS ups1", "NUMLOGINS ups1 0\n"},
        {"GET TYPE ups1 ups.load", "TYPE ups1 ups.load NUMBER\n"},
        {"GET TYPE ups1 ups.status", "TYPE ups1 ups.status STRING:64\n"},
        {"GET DESC ups1 ups.status", "DESC ups1 ups.status \"UPS status\"\n"},
        {"GET CMDDESC ups1 load.off", "CMDDESC ups1 load.off \"Turn off the load immediately\"\n"},
        {"GET CMDDESC ups1 shutdown.return", "ERR CMD-NOT-SUPPORTED\n"},
        {"GET TRACKING", "OFF\n"},
        {"LIST RW ups1", "BEGIN LIST RW ups1\nEND LIST RW ups1\n"},
        {"LIST ENUM ups1 ups.status", "BEGIN LIST ENUM ups1 ups.status\nEND LIST ENUM ups1 ups.status\n"},
        {"LIST RANGE ups1 nothing", "ERR VAR-NOT-SUPPORTED\n"},
        {"LIST CMD ups1", "BEGIN LIST CMD ups1\nCMD ups1 load.off\nCMD ups1 load.on\nCMD ups1 test.battery.start\n"
                          "CMD ups1 test.battery.stop\nEND LIST CMD ups1\n"},
        {"LIST CLIENT ups1", "BEGIN LIST CLIENT ups1\nEND LIST CLIENT ups1\n"},
        {"LIST VAR ups7", "ERR DATA-STALE\n"},
        {"STARTTLS", "ERR FEATURE-NOT-CONFIGURED\n"},
        {"", ""},
        {"FROBNICATE ups1", "ERR UNKNOWN-COMMAND\n"},
        {QByteArray("\x00\xff\x01", 3), "ERR UNKNOWN-COMMAND\n"},
        {"GET", "ERR INVALID-ARGUMENT\n"},
        {"GET VAR ups1", "ERR INVALID-ARGUMENT\n"},
        {"GET BOGUS ups1", "ERR INVALID-ARGUMENT\n"},
        {"GET VAR \"ups1 ups.status", "ERR INVALID-ARGUMENT\n"},
        {"LIST UPS a b c d e f g h i j k l m n o p", "ERR INVALID-ARGUMENT\n"},
        {"INSTCMD ups1 load.off", "ERR USERNAME-REQUIRED\n"},
        {"LOGIN ups1", "ERR USERNAME-REQUIRED\n"},
        {"USERNAME", "ERR INVALID-ARGUMENT\n"},
        {"PASSWORD \"\"", "ERR INVALID-PASSWORD\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Ask(c.request), c.reply) << c.request.toStdString();
}

TEST_F(NutProtocolFixture, ListsEveryListedUnitOnceAndItsVariables)
{
    State.DeviceList.AddDevice(TDeviceNode::Make(1, QStringLiteral("again"))); // a damaged file can repeat one
    State.DeviceList.AddDevice(TDeviceNode::Make(0, QStringLiteral("broadcast")));
    State.DeviceList.AddDevice(TDeviceNode::Make(3, QString()));
    EXPECT_EQ(Ask("LIST UPS"), "BEGIN LIST UPS\nUPS ups1 \"UPS-01\"\nUPS ups2 \"\xe4\xb8\x9c\xe5\x8c\xba\"\n"
                               "UPS ups7 \"Spare\"\nUPS ups3 \"Unavailable\"\nEND LIST UPS\n");

    const QByteArray list = Ask("LIST VAR ups1");
    EXPECT_TRUE(list.startsWith("BEGIN LIST VAR ups1\nVAR ups1 battery.charge \"100\"\n")) << list.toStdString();
    EXPECT_TRUE(list.contains("\nVAR ups1 device.description \"UPS-01\"\n"));
    EXPECT_TRUE(list.contains("\nVAR ups1 driver.parameter.port \"/dev/ttyUSB0\"\n"));
    EXPECT_TRUE(list.endsWith("\nVAR ups1 ups.status \"OL\"\nEND LIST VAR ups1\n")) << list.toStdString();
    EXPECT_FALSE(list.contains("L2")) << "a single-phase unit";

    // With the port closed nothing is fresh.
    PortOpen = false;
    EXPECT_EQ(Ask("LIST VAR ups1"), "ERR DATA-STALE\n");
    EXPECT_EQ(Ask("GET VAR ups2 ups.load"), "ERR DATA-STALE\n");
}

TEST_F(NutProtocolFixture, InstantCommandsGoThroughTheControlWindowsSlot)
{
    const struct {
        QByteArray request;
        std::uint32_t reg;
        std::int16_t value;
    } cases[] = {
        {"INSTCMD ups2 test.battery.start", ControlCommands::kRegBatteryTest, 10},
        {"INSTCMD ups2 test.battery.start 70", ControlCommands::kRegBatteryTest, 70},
        {"INSTCMD ups2 test.battery.start 65535", ControlCommands::kRegBatteryTest, -1},
        {"INSTCMD ups2 TEST.BATTERY.STOP", ControlCommands::kRegBatteryTest, 0},
        {"INSTCMD ups2 load.off", ControlCommands::kRegTurnOff, 1},
        {"INSTCMD ups2 load.on", ControlCommands::kRegTurnOn, 1},
    };
    TNutSession &admin = LoggedIn("admin", "s3cret");
    for (const auto &c : cases) {
        State.CmdQueue = TCommandQueue{};
        ASSERT_EQ(Ask(admin, c.request), "OK\n") << c.request.toStdString();
        const TUpsCommand &slot = State.CmdQueue.Slots[ControlCommands::kSlot];
        EXPECT_EQ(slot.Pending, TCommandQueue::kPending) << c.request.toStdString();
        EXPECT_EQ(slot.Addr, 2);
        EXPECT_EQ(slot.FuncCode, ControlCommands::kWriteSingleRegister);
        EXPECT_EQ(slot.StartReg, c.reg) << c.request.toStdString();
        EXPECT_EQ(State.CmdQueue.ControlValue, c.value) << c.request.toStdString();
    }
    EXPECT_TRUE(Logged.contains(QStringLiteral("NUT: admin@127.0.0.2 queued test.battery.start 70 for ups2")));
}

TEST_F(NutProtocolFixture, NoCommandReachesTheQueueWithoutTheRightUserAndUnit)
{
    const struct {
        const char *user;
        const char *password;
        QByteArray request;
        QByteArray reply;
    } cases[] = {
        {"admin", "wrong", "INSTCMD ups1 load.off", "ERR ACCESS-DENIED\n"},
        {"nobody", "s3cret", "INSTCMD ups1 load.off", "ERR ACCESS-DENIED\n"},
        {"tester", "t", "INSTCMD ups1 load.off", "ERR ACCESS-DENIED\n"}, // allowed the battery test only
        {"mon", "m", "INSTCMD ups1 test.battery.start", "ERR ACCESS-DENIED\n"},
        {"admin", "s3cret", "INSTCMD ups7 load.off", "ERR DATA-STALE\n"},
        {"admin", "s3cret", "INSTCMD ups9 load.off", "ERR UNKNOWN-UPS\n"},
        {"admin", "s3cret", "INSTCMD ups1 shutdown.return", "ERR CMD-NOT-SUPPORTED\n"},
        {"admin", "s3cret", "INSTCMD ups1 test.battery.start 0", "ERR INVALID-VALUE\n"},
        {"admin", "s3cret", "INSTCMD ups1 test.battery.start 70000", "ERR INVALID-VALUE\n"},
        {"admin", "s3cret", "INSTCMD ups1 test.battery.start ten", "ERR INVALID-VALUE\n"},
        {"admin", "s3cret", "INSTCMD ups1 load.off 5", "ERR INVALID-ARGUMENT\n"},
        {"admin", "s3cret", "INSTCMD ups1", "ERR INVALID-ARGUMENT\n"},
    };
    for (const auto &c : cases) {
        TNutSession &session = LoggedIn(c.user, c.password);
        EXPECT_EQ(Ask(session, c.request), c.reply) << c.user << ": " << c.request.toStdString();
        EXPECT_FALSE(State.CmdQueue.AnyPending()) << c.user << ": " << c.request.toStdString();
        Protocol.CloseSession(session);
    }
    // Only Modbus units take commands.
    State.Settings.PortInfo.Protocol = 0;
    TNutSession &admin = LoggedIn("admin", "s3cret");
    EXPECT_EQ(Ask(admin, "LIST CMD ups1"), "BEGIN LIST CMD ups1\nEND LIST CMD ups1\n");
    EXPECT_EQ(Ask(admin, "INSTCMD ups1 load.off"), "ERR CMD-NOT-SUPPORTED\n");
    EXPECT_FALSE(State.CmdQueue.AnyPending());

    // Refusals are logged once per connection, with who asked but never the password.
    EXPECT_TRUE(Logged.contains(QStringLiteral("NUT: access denied to admin@127.0.0.2 for INSTCMD load.off on ups1")));
    EXPECT_FALSE(Logged.join('\n').contains(QLatin1String("wrong")));
    EXPECT_FALSE(Logged.join('\n').contains(QLatin1String("s3cret")));
}

TEST_F(NutProtocolFixture, UpsmonLogsInTakesThePrimaryRoleAndSetsFsd)
{
    TNutSession &primary = LoggedIn("mon", "m");
    EXPECT_EQ(Ask(primary, "LOGIN ups1"), "OK\n");
    EXPECT_EQ(Ask(primary, "LOGIN ups1"), "ERR ALREADY-LOGGED-IN\n");
    EXPECT_EQ(Ask(primary, "PRIMARY ups1"), "OK PRIMARY-GRANTED\n");
    EXPECT_EQ(Ask(primary, "MASTER ups1"), "OK MASTER-GRANTED\n");
    EXPECT_EQ(Ask(primary, "USERNAME again"), "ERR ALREADY-SET-USERNAME\n");

    TNutSession &secondary = LoggedIn("mon2", "m2");
    EXPECT_EQ(Ask(secondary, "LOGIN ups1"), "OK\n");
    EXPECT_EQ(Ask(secondary, "PRIMARY ups1"), "ERR ACCESS-DENIED\n");
    EXPECT_EQ(Ask(secondary, "FSD ups1"), "ERR ACCESS-DENIED\n");
    EXPECT_EQ(Ask("GET NUMLOGINS ups1"), "NUMLOGINS ups1 2\n");
    EXPECT_EQ(Ask("LIST CLIENT ups1"), "BEGIN LIST CLIENT ups1\nCLIENT ups1 127.0.0.2\nCLIENT ups1 127.0.0.2\nEND LIST CLIENT ups1\n");

    TNutSession &admin = LoggedIn("admin", "s3cret");
    EXPECT_EQ(Ask(admin, "LOGIN ups1"), "ERR ACCESS-DENIED\n") << "no upsmon line";
    EXPECT_EQ(Ask(admin, "SET VAR ups1 ups.id \"new\""), "ERR READONLY\n");
    EXPECT_EQ(Ask(admin, "SET VAR ups1 nothing 1"), "ERR VAR-NOT-SUPPORTED\n");
    EXPECT_EQ(Ask(secondary, "SET VAR ups1 ups.id x"), "ERR ACCESS-DENIED\n");

    EXPECT_EQ(Ask(primary, "FSD ups1"), "OK FSD-SET\n");
    EXPECT_EQ(Ask("GET VAR ups1 ups.status"), "VAR ups1 ups.status \"FSD OL\"\n");
    EXPECT_EQ(Ask("GET VAR ups2 ups.status"), "VAR ups2 ups.status \"OL\"\n");

    // A dropped connection gives up its login; LOGOUT says goodbye first.
    Protocol.CloseSession(secondary);
    EXPECT_EQ(Ask("GET NUMLOGINS ups1"), "NUMLOGINS ups1 1\n");
    EXPECT_EQ(Ask(primary, "LOGOUT"), "OK Goodbye\n");
    EXPECT_TRUE(primary.Finished);
}
