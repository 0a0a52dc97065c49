// The NUT server's line parser and command dispatch on any bytes a client
// can send, one line after another on one connection, and the users file
// reader on any file. Whatever comes in, every reply is whole lines of
// printable text, and no command reaches the command queue unless the
// reply said OK.
//
// Input: byte 0 picks the scenario (bit 0 the port open, bits 1-2 the
// protocol setting, bit 3 the rest is a users file), the rest is the
// client's bytes.
#include "FuzzFiles.h"

#include "app/TMonitorState.h"
#include "model/TDeviceNode.h"
#include "service/NutText.h"
#include "service/TNutProtocol.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

namespace {

const QByteArray kUsers = "[admin]\n password = s3cret\n instcmds = ALL\n actions = SET FSD\n"
                          "[mon]\n password = m\n upsmon primary\n"
                          "[mon2]\n password = m2\n upsmon secondary\n";

TMonitorState &Bus()
{
    static TMonitorState state = [] {
        TMonitorState made;
        made.UpsInfo.Reset();
        made.DeviceList.AddDevice(TDeviceNode::Make(1, QStringLiteral("UPS-01")));
        made.DeviceList.AddDevice(TDeviceNode::Make(2, QStringLiteral("东区")));
        made.DeviceList.AddDevice(TDeviceNode::Make(7, QStringLiteral("Spare")));
        for (int addr : {1, 2}) {
            TUpsInfo &rec = made.UpsInfo[addr];
            rec.LinkState = kLinkOnline;
            rec.State = addr == 1 ? 4 : 5;
            rec.InputSupply = addr == 1 ? 1 : 2;
            rec.InputVolt[0] = rec.OutputVolt[0] = 230.0;
            rec.InputVolt[1] = addr == 2 ? 231.0 : 0.0;
            rec.LoadPercent[0] = 40.0;
            rec.BattBackupTime = 4;
            rec.AlarmList[0] = 23;
            rec.AlarmCount = 1;
        }
        return made;
    }();
    return state;
}

// Whole lines, each ending in a line feed, with nothing below a blank in them.
bool WellFormed(const QByteArray &reply)
{
    if (reply.isEmpty())
        return true;
    if (!reply.endsWith('\n'))
        return false;
    for (qsizetype i = 0; i + 1 < reply.size(); ++i) {
        const auto byte = static_cast<unsigned char>(reply[i]);
        if (byte < 0x20 && byte != '\n')
            return false;
    }
    return !reply.contains("\n\n");
}

void FuzzUsersFile(QByteArrayView text)
{
    QStringList problems;
    const TNutUsers users = TNutUsers::Parse(text, &problems);
    FUZZ_CHECK(users.Count() >= 0);
    for (QByteArrayView rest = text; !rest.isEmpty();) {
        const qsizetype end = rest.indexOf('\n');
        NutText::SplitLine(end < 0 ? rest : rest.first(end), true);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t scenario = data[0];
    const QByteArrayView input(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    if (scenario & 0x08) {
        FuzzUsersFile(input);
        return 0;
    }

    TMonitorState &state = Bus();
    state.Settings.PortInfo.Protocol = static_cast<quint8>((scenario >> 1) & 0x03);
    const bool portOpen = (scenario & 0x01) != 0;
    TNutProtocol protocol(TNutData{state.DeviceList, state.UpsInfo, state.CmdQueue, state.Settings,
                                   [portOpen] { return portOpen; }, QStringLiteral("1.0.0.1")});
    protocol.SetUsers(TNutUsers::Parse(kUsers));
    TNutSession &session = protocol.OpenSession("127.0.0.1");
    TNutSession &other = protocol.OpenSession("127.0.0.2");

    for (QByteArrayView rest = input; !rest.isEmpty() && !session.Finished;) {
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        state.CmdQueue = TCommandQueue{};
        const QByteArray reply = protocol.Handle(session, line);
        FUZZ_CHECK(WellFormed(reply));
        FUZZ_CHECK(!state.CmdQueue.AnyPending() || reply == "OK\n");
        // The other connection sees the same units whatever this one did.
        FUZZ_CHECK(WellFormed(protocol.Handle(other, "LIST UPS")));
    }
    FUZZ_CHECK(protocol.NumLogins(1) <= 1);
    protocol.CloseSession(session);
    protocol.CloseSession(other);
    FUZZ_CHECK(protocol.SessionCount() == 0);
    FUZZ_CHECK(protocol.NumLogins(1) == 0 && protocol.NumLogins(2) == 0);
    state.CmdQueue = TCommandQueue{};
    return 0;
}
