#include "AsciiSlave.h"
#include "SimScenario.h"
#include "model/UpsInfoRules.h"
#include "protocol/TRorizuProtocol.h"
#include "protocol/TYdtV31Protocol.h"
#include "serial/HexHelpers.h"
#include "support/BusFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

using Dialect = AsciiSlave::Dialect;

QByteArray Request(const char *ver, int address, const char *cid2)
{
    QByteArray frame = QByteArray("~") + ver + WordToHex4(address).right(2) + "2A" + cid2 + "0000";
    frame += FrameChecksum(frame, static_cast<int>(frame.size() - 1));
    return frame + '\r';
}

// The frame checks a monitor makes on a reply, as one text for readable
// failures: empty when the reply is sound.
QByteArray FrameFault(const QByteArray &reply)
{
    const int length = static_cast<int>(reply.size());
    if (length < 18 || reply[0] != '~')
        return "not a frame: " + reply;
    if (reply.mid(9, 4) != LengthField(length - 18))
        return "LENGTH " + reply.mid(9, 4);
    if (reply.mid(length - 5, 4) != FrameChecksum(reply, length - 6))
        return "CHKSUM " + reply.mid(length - 5, 4);
    if (reply.back() != '\r')
        return "no carriage return";
    return {};
}

class AsciiSlaveTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int address : {1, 0x1F})
            ASSERT_TRUE(bus.AddUnit(address));
        Apply("wobble", "0");
    }

    void Apply(const char *key, const char *value, int unit = 0)
    {
        QString error;
        ASSERT_TRUE(bus.Apply(unit, {{QLatin1String(key), QLatin1String(value)}}, &error)) << error.toStdString();
    }

    QByteArray Answer(Dialect dialect, const QByteArray &request)
    {
        return (dialect == Dialect::Ydt ? ydt : rorizu).Answer(request).bytes;
    }

    SimBus bus;
    AsciiSlave ydt{bus, Dialect::Ydt};
    AsciiSlave rorizu{bus, Dialect::Rorizu};
};

TEST_F(AsciiSlaveTest, EveryPollCommandGetsASoundReply)
{
    const std::pair<Dialect, const char *> commands[] = {
        {Dialect::Ydt, "42"},    {Dialect::Ydt, "43"},    {Dialect::Ydt, "44"},
        {Dialect::Ydt, "80"},    {Dialect::Ydt, "82"},    {Dialect::Rorizu, "41"},
        {Dialect::Rorizu, "43"}, {Dialect::Rorizu, "44"}, {Dialect::Rorizu, "E2"},
        {Dialect::Rorizu, "E3"},
    };
    for (const auto &[dialect, cid2] : commands) {
        const char *ver = dialect == Dialect::Ydt ? "31" : "11";
        const QByteArray reply = Answer(dialect, Request(ver, 0x1F, cid2));
        EXPECT_EQ(FrameFault(reply), QByteArray()) << cid2;
        EXPECT_EQ(reply.left(9), QByteArray("~") + ver + "1F2A00") << cid2;
    }
    // The request examples of both protocols.
    EXPECT_EQ(Request("11", 1, "41"), QByteArray("~11012A410000FDA5\r"));
    EXPECT_EQ(Request("31", 1, "42"), QByteArray("~31012A420000FDA2\r"));
}

// Each YD/T field sits where the monitor reads it, in its scale.
TEST_F(AsciiSlaveTest, YdtFieldsSitAtTheirPositions)
{
    struct Case
    {
        const char *cid2;
        int position;
        int width;
        const char *key;
        const char *value;
        const char *text;
    };
    const Case cases[] = {
        {"42", 15, 4, "inputvolta", "220", "55F0"},
        {"42", 23, 4, "inputvoltc", "231.45", "5A69"},
        {"42", 27, 4, "outputvolta", "1", "0064"},
        {"42", 35, 4, "outputvoltc", "2", "00C8"},
        {"42", 51, 4, "negbattvolt", "0", "5460"}, // the positive group alone: 216.00 V
        {"42", 55, 4, "outputfreq", "49.99", "1387"},
        {"43", 19, 2, "upsstatecode", "6", "06"},
        {"43", 21, 4, "cmmstate1", "0xCA00", "CA00"},
        {"43", 25, 4, "invstate1", "0xC480", "C480"},
        {"43", 29, 4, "invstate2", "0x0800", "0800"},
        {"43", 33, 2, "sysstate", "0x3C", "3C"},
        {"44", 33, 4, "cmmalarm1", "0x1234", "1234"},
        {"44", 37, 4, "cmmalarm2", "0x8040", "8040"},
        {"44", 41, 4, "invalarm1", "0xFC8C", "FC8C"},
        {"44", 45, 4, "invalarm2", "0x1000", "1000"},
        {"44", 49, 2, "sysalarm", "0xAB", "AB"},
        {"80", 95, 4, "loadpercenta", "41", "0029"},
        {"80", 103, 4, "loadpercentc", "100", "0064"},
        {"80", 143, 4, "poschargecurrent", "1.5", "0096"},
        {"80", 147, 4, "negchargecurrent", "2", "00C8"},
        {"80", 151, 4, "posdischargecurrent", "20.25", "07E9"},
        {"80", 155, 4, "negdischargecurrent", "0.01", "0001"},
        {"82", 35, 4, "battbackuptime", "75", "004B"},
        {"82", 39, 4, "battcapacity", "88", "0058"},
    };
    for (const Case &c : cases) {
        Apply(c.key, c.value);
        const QByteArray reply = Answer(Dialect::Ydt, Request("31", 1, c.cid2));
        EXPECT_EQ(reply.mid(c.position, c.width), QByteArray(c.text)) << c.cid2 << " " << c.key;
        Apply(c.key, "auto");
    }
}

TEST_F(AsciiSlaveTest, RorizuFloatsSitAtTheirPositions)
{
    struct Case
    {
        const char *cid2;
        int position;
        const char *key;
        const char *value;
        double expected;
    };
    const Case cases[] = {
        {"41", 15, "inputvolta", "219.3931", 380.0}, // line voltage: phase × √3
        {"41", 31, "inputvoltc", "0", 0.0},
        {"41", 39, "outputvolta", "221.5", 221.5},
        {"41", 55, "outputvoltc", "219", 219.0},
        {"41", 87, "posbattvolt", "200", 416.0},     // DC voltage: both groups
        {"41", 95, "outputfreq", "50.5", 50.5},
        {"E2", 113, "loadpercenta", "37", 37.0},
        {"E2", 129, "loadpercentc", "99", 99.0},
        {"E3", 113, "battbackuptime", "75", 75.0},
    };
    for (const Case &c : cases) {
        Apply(c.key, c.value);
        const QByteArray reply = Answer(Dialect::Rorizu, Request("11", 1, c.cid2));
        ASSERT_GE(reply.size(), c.position + 8);
        EXPECT_NEAR(HexToSingle(reply.constData() + c.position), c.expected, 0.01) << c.cid2 << " " << c.key;
        Apply(c.key, "auto");
    }
    EXPECT_EQ(AsciiSlave::SingleToHex(400.0), QByteArray("0000C843"));
}

TEST_F(AsciiSlaveTest, RorizuStatusItemsFollowTheMode)
{
    struct Case
    {
        const char *state;
        const char *upsSupply;   // 15-16
        const char *batteryTest; // 19-20
        const char *inputSupply; // 25-26
        const char *switches;    // 29-36: input, maintenance bypass, bypass, output
    };
    const Case cases[] = {
        {"online", "01", "E1", "E0", "E1E0E1E1"},  {"battery", "01", "E1", "E1", "E1E0E1E1"},
        {"test", "01", "E0", "E1", "E1E0E1E1"},    {"bypass", "02", "E1", "E0", "E1E0E1E1"},
        {"standby", "E9", "E1", "E0", "E1E0E1E1"}, {"maintbypass", "E9", "E1", "E0", "E1E1E1E0"},
    };
    for (const Case &c : cases) {
        Apply("state", c.state);
        const QByteArray reply = Answer(Dialect::Rorizu, Request("11", 1, "43"));
        EXPECT_EQ(reply.mid(15, 2), QByteArray(c.upsSupply)) << c.state;
        EXPECT_EQ(reply.mid(19, 2), QByteArray(c.batteryTest)) << c.state;
        EXPECT_EQ(reply.mid(25, 2), QByteArray(c.inputSupply)) << c.state;
        EXPECT_EQ(reply.mid(29, 8), QByteArray(c.switches)) << c.state;
    }
    Apply("state", "online");
    Apply("mains", "0");
    Apply("state", "standby");
    EXPECT_EQ(Answer(Dialect::Rorizu, Request("11", 1, "43")).mid(25, 2), QByteArray("E3"));
}

TEST_F(AsciiSlaveTest, RorizuAlarmItemsCarryTheirCodes)
{
    struct Case
    {
        int code;
        int position;
        const char *item;
    };
    const Case cases[] = {
        {100, 31, "01"},  {119, 69, "01"},  {135, 101, "F1"}, {155, 141, "01"},
        {148, 127, "00"}, {160, 127, "F1"}, {201, 15, "01"},  {205, 23, "01"},
        {206, 25, "01"},  {207, 25, "02"},  {208, 25, "F0"},  {209, 25, "E1"},
        {210, 25, "03"},
    };
    const QByteArray healthy = Answer(Dialect::Rorizu, Request("11", 1, "44"));
    EXPECT_EQ(healthy.size(), 13 + 130 + 5);
    EXPECT_EQ(healthy.mid(127, 2), QByteArray("E0")); // battery breaker connected: no code 148
    for (int position = 31; position <= 141; position += 2) {
        if (position != 127) {
            EXPECT_EQ(healthy.mid(position, 2), QByteArray("00")) << position;
        }
    }

    for (const Case &c : cases) {
        Apply("alarm", QByteArray::number(c.code).constData());
        const QByteArray reply = Answer(Dialect::Rorizu, Request("11", 1, "44"));
        EXPECT_EQ(reply.mid(c.position, 2), QByteArray(c.item)) << c.code;
        Apply("clear", "all");
    }
}

TEST_F(AsciiSlaveTest, DamagedRequestsGetErrorReplies)
{
    QByteArray badChecksum = Request("31", 1, "42");
    badChecksum[16] = badChecksum[16] == '0' ? '1' : '0';
    QByteArray longer = Request("31", 1, "42");
    longer.insert(13, "00");
    longer.replace(15, 4, FrameChecksum(longer, static_cast<int>(longer.size() - 6)));

    const std::pair<QByteArray, const char *> cases[] = {
        {badChecksum, "02"},
        {Request("11", 1, "42"), "01"}, // ROrizu version to a YD/T unit
        {longer, "03"},                 // INFO without a LENGTH for it
        {Request("31", 1, "41"), "04"}, // a ROrizu command
        {Request("31", 1, "4F"), "04"},
    };
    for (const auto &[request, rtn] : cases) {
        const QByteArray reply = Answer(Dialect::Ydt, request);
        EXPECT_EQ(FrameFault(reply), QByteArray()) << request.constData();
        EXPECT_EQ(reply.mid(7, 2), QByteArray(rtn)) << request.constData();
        EXPECT_EQ(reply.mid(9, 4), QByteArray("0000")) << request.constData();
    }
}

TEST_F(AsciiSlaveTest, OnlyItsOwnUnitsAnswer)
{
    Apply("silent", "1", 0x1F);
    const QByteArray unanswered[] = {
        Request("31", 2, "42"),
        Request("31", 0x1F, "42"),
        Request("31", 1, "42").chopped(1),  // no carriage return yet
        QByteArray("~31012A42\r"),
        Request("31", 1, "42").mid(1),      // no start character
    };
    for (const QByteArray &request : unanswered)
        EXPECT_TRUE(Answer(Dialect::Ydt, request).isEmpty()) << request.constData();
}

TEST_F(AsciiSlaveTest, MalformedRepliesOnRequest)
{
    const QByteArray sound = Answer(Dialect::Ydt, Request("31", 1, "42"));
    Apply("malformed", "checksum");
    EXPECT_TRUE(FrameFault(Answer(Dialect::Ydt, Request("31", 1, "42"))).startsWith("CHKSUM"));
    Apply("malformed", "length");
    EXPECT_TRUE(FrameFault(Answer(Dialect::Ydt, Request("31", 1, "42"))).startsWith("LENGTH"));
    Apply("malformed", "nocr");
    EXPECT_EQ(Answer(Dialect::Ydt, Request("31", 1, "42")), sound.chopped(1));
    Apply("malformed", "eoi");
    EXPECT_EQ(Answer(Dialect::Ydt, Request("31", 1, "42")), sound.chopped(1) + '\n');

    Apply("malformed", "rtn04");
    const QByteArray rtn04 = Answer(Dialect::Rorizu, Request("11", 1, "41"));
    EXPECT_EQ(FrameFault(rtn04), QByteArray());
    EXPECT_EQ(rtn04.mid(7, 6), QByteArray("040000"));

    Apply("malformed", "lowercase");
    const QByteArray lower = Answer(Dialect::Ydt, Request("31", 1, "42"));
    EXPECT_EQ(lower.mid(5, 2), QByteArray("2a"));
    EXPECT_EQ(lower, lower.toLower());
    EXPECT_FALSE(FrameFault(lower).isEmpty());
    // The device checksums what it sends: the fault is only the letter case.
    EXPECT_EQ(FrameChecksum(lower, static_cast<int>(lower.size() - 6)).toLower(), lower.mid(lower.size() - 5, 4));
}

// The monitor's protocol objects against the slave, without a line between
// them: each request the monitor builds goes to the slave and its reply back
// to the monitor's decoder.
struct MonitorAndSlave {
    SimBus Sim;
    BusFixture Bus;
    std::unique_ptr<TAsciiProtocol> Protocol;
    std::unique_ptr<AsciiSlave> Slave;

    explicit MonitorAndSlave(Dialect dialect)
    {
        EXPECT_TRUE(Sim.AddUnit(1));
        Apply("wobble=0");
        if (dialect == Dialect::Ydt)
            Protocol = std::make_unique<TYdtV31Protocol>(Bus.Context);
        else
            Protocol = std::make_unique<TRorizuProtocol>(Bus.Context);
        Slave = std::make_unique<AsciiSlave>(Sim, dialect);
        Bus.AddDevices({1});
        Bus.UpsInfo[1].LinkState = kLinkOnline;
    }

    void Apply(const QString &settings)
    {
        QString error;
        const auto parsed = SimScenario::ParseSettings(settings, &error);
        ASSERT_TRUE(parsed && Sim.Apply(0, *parsed, &error)) << error.toStdString();
    }

    // One request and its reply; whether the monitor took the reply.
    bool Exchange()
    {
        Protocol->BuildRequest();
        const QByteArray request = Bytes(Bus.Engine.TxBuf.data(), Protocol->FrameLength());
        const bool valid = DecodeBlock(*Protocol, Slave->Answer(request).bytes);
        if (valid)
            ++Bus.UpsInfo[1].OkCnt;
        return valid;
    }

    // The five commands of one visit.
    void PollOnce()
    {
        for (int i = 0; i < 5; ++i)
            EXPECT_TRUE(Exchange()) << "command " << i + 1;
    }
};

TEST(AsciiSlaveWithMonitor, YdtReadingsArriveAsSet)
{
    MonitorAndSlave m(Dialect::Ydt);
    m.Apply("state=bypass,inputvoltb=231.45,outputvoltc=221.5,posbattvolt=210,negbattvolt=200,"
            "outputfreq=49.99,loadpercentb=63,poschargecurrent=1.5,negchargecurrent=2,"
            "posdischargecurrent=0.25,negdischargecurrent=0.5,battbackuptime=75,battcapacity=88,"
            "alarm=51,alarm=3");
    m.PollOnce();
    m.PollOnce(); // the state is derived with the alarm words of the first visit
    const TUpsInfo &rec = m.Bus.UpsInfo[1];
    EXPECT_DOUBLE_EQ(rec.InputVolt[1], 231.45);
    EXPECT_DOUBLE_EQ(rec.OutputVolt[2], 221.5);
    EXPECT_DOUBLE_EQ(rec.DcVolt, 410.0);
    EXPECT_DOUBLE_EQ(rec.OutputFreq, 49.99);
    EXPECT_EQ(rec.LoadPercent[1], 63);
    EXPECT_DOUBLE_EQ(rec.ChargeCurrent, 3.5);
    EXPECT_DOUBLE_EQ(rec.DischargeCurrent, 0.75);
    EXPECT_EQ(rec.BattBackupTime, 75);
    EXPECT_EQ(rec.BattCapacity, 88);
    EXPECT_EQ(rec.UpsStateCode, kStateBypass);
    EXPECT_EQ(rec.UpsSupply, 2);
    EXPECT_EQ(AlarmCodes(rec), (std::vector<std::int32_t>{3, 51}));
    EXPECT_EQ(rec.State, kStateFault); // a rectifier alarm

    m.Apply("clear=all");
    m.PollOnce();
    m.PollOnce();
    EXPECT_EQ(rec.State, kStateBypass);
    EXPECT_EQ(rec.AlarmCount, 0);
}

TEST(AsciiSlaveWithMonitor, RorizuReadingsArriveAsSet)
{
    MonitorAndSlave m(Dialect::Rorizu);
    m.Bus.UpsInfo[1].OkCnt = TRorizuProtocol::kMinOkCntForItems;
    m.Apply("state=test,inputvolta=221.5,outputvoltb=219,posbattvolt=216,negbattvolt=216,"
            "outputfreq=50.5,loadpercentc=37,battbackuptime=75,alarm=119,alarm=135,alarm=160,"
            "alarm=202,alarm=209");
    m.PollOnce();
    const TUpsInfo &rec = m.Bus.UpsInfo[1];
    EXPECT_NEAR(rec.InputVolt[0], 221.5, 1e-4);
    EXPECT_NEAR(rec.OutputVolt[1], 219.0, 1e-4);
    EXPECT_NEAR(rec.DcVolt, 432.0, 1e-4);
    EXPECT_NEAR(rec.OutputFreq, 50.5, 1e-4);
    EXPECT_NEAR(rec.LoadPercent[2], 37.0, 1e-4);
    EXPECT_EQ(rec.BattBackupTime, 75);
    EXPECT_EQ(rec.State, kStateBattSelfTest);
    EXPECT_EQ(rec.BattTestFlag, 1);
    EXPECT_EQ(rec.InputSupply, 2);
    EXPECT_EQ(rec.InputSwitch, 1);
    EXPECT_EQ(AlarmCodes(rec), (std::vector<std::int32_t>{119, 135, 160, 202, 209}));

    m.Apply("state=maintbypass,clear=all");
    m.PollOnce();
    EXPECT_EQ(rec.State, kStateMaintBypass);
    EXPECT_EQ(rec.MaintBypassSwitch, 1);
    EXPECT_EQ(rec.AlarmCount, 0);
}

TEST(AsciiSlaveWithMonitor, MalformedRepliesFailTheirCheck)
{
    const struct {
        const char *kind;
        int counter; // ErrCnt entry, -1 for a reply the monitor takes
    } cases[] = {
        {"checksum", 5}, {"length", 4}, {"rtn04", 3}, {"lowercase", 4},
        // The end byte is not checked, but without it the block is one
        // character short of what its LENGTH announces.
        {"nocr", 4}, {"eoi", -1},
    };
    for (Dialect dialect : {Dialect::Ydt, Dialect::Rorizu}) {
        for (const auto &c : cases) {
            MonitorAndSlave m(dialect);
            m.Apply(QStringLiteral("malformed=") + QLatin1String(c.kind));
            EXPECT_EQ(m.Exchange(), c.counter < 0) << c.kind;
            std::array<std::int32_t, 6> expected{};
            if (c.counter >= 0)
                expected[static_cast<std::size_t>(c.counter)] = 1;
            EXPECT_EQ(m.Bus.Debug.ErrCnt, expected) << c.kind;
        }
    }
}

} // namespace
