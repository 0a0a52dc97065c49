#pragma once

#include "service/NutVariables.h"
#include "service/ServiceLog.h"
#include "service/TNutUsers.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TCommandQueue;
class TDeviceList;
class TUpsInfoTable;
struct TSettings;

// One client connection as the protocol sees it.
struct TNutSession {
    QByteArray Peer; // the client's address, for LIST CLIENT and the log
    std::optional<QByteArray> UserName;
    std::optional<QByteArray> Password;
    int LoginAddr = 0;         // the unit of LOGIN; 0 before it
    bool DenialLogged = false; // a refused command is logged once per connection
    bool Finished = false;     // LOGOUT: close once the reply is out
};

// What the protocol reads and where it queues commands: the program-wide
// instances of the monitor, all on the engine's thread.
struct TNutData {
    const TDeviceList &Devices;
    const TUpsInfoTable &UpsInfo;
    TCommandQueue &CmdQueue;
    const TSettings &Settings;
    std::function<bool()> PortOpened;
    QString Version;
};

// The NUT network protocol, without sockets: one request line in, the
// reply out. Every listed device is one UPS named "ups" + its address.
// Commands are one table of (name, rights needed, handler), as upsd has
// them; the handlers only format what the status records hold, and the
// instant commands go through the control windows' command slot.
class TNutProtocol
{
public:
    static constexpr int kMaxWords = 16;

    explicit TNutProtocol(TNutData data, TServiceLog log = {});

    void SetUsers(TNutUsers users) { FUsers = std::move(users); }
    void SetLowRuntime(int seconds) { FLowRuntime = seconds; }

    TNutSession &OpenSession(const QByteArray &peer);
    // Drops the session and its LOGIN.
    void CloseSession(TNutSession &session);
    int SessionCount() const { return static_cast<int>(FSessions.size()); }

    // One request line without its line end; the reply lines, each ending
    // in "\n", or nothing for a blank line.
    QByteArray Handle(TNutSession &session, QByteArrayView line);

    // Notes the phases of every unit that is online; called now and then,
    // so a unit's phases are known before anybody asks.
    void NotePhases();
    // After the device list was read again: units that left it lose their
    // FSD flag and what was noted about their phases.
    void ForgetUnlistedUnits();

    int NumLogins(int addr) const;
    bool ForcedShutdown(int addr) const { return FForcedShutdown.at(static_cast<size_t>(addr)); }
    // The address a UPS name stands for, when a listed device has it.
    std::optional<int> UpsAddress(QByteArrayView name) const;
    static QByteArray UpsName(int addr);

private:
    // What a command needs beyond a username and a password.
    enum class TRight { kNone, kLogin, kPrimary, kForcedShutdown, kInstCmd, kSet };
    using THandler = QByteArray (TNutProtocol::*)(TNutSession &session, const QByteArrayList &args, TRight right);
    struct TCommand {
        const char *Name;
        TRight Right; // kNone needs nothing; any other needs USERNAME and PASSWORD first
        THandler Handler;
    };
    // GET and LIST: a word, the number of arguments after it, the handler.
    struct TSubCommand {
        const char *Name;
        int Args;
        THandler Handler;
    };
    static const TCommand kCommands[];
    static const TSubCommand kGetCommands[];
    static const TSubCommand kListCommands[];

    template <size_t N>
    QByteArray RunSubCommand(const TSubCommand (&table)[N], TNutSession &session, const QByteArrayList &args);

    QByteArray Ver(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray NetVer(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray Help(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray StartTls(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray UserName(TNutSession &session, const QByteArrayList &args, TRight);
    QByteArray Password(TNutSession &session, const QByteArrayList &args, TRight);
    QByteArray Logout(TNutSession &session, const QByteArrayList &args, TRight);
    QByteArray Login(TNutSession &session, const QByteArrayList &args, TRight right);
    QByteArray Primary(TNutSession &session, const QByteArrayList &args, TRight right);
    QByteArray Master(TNutSession &session, const QByteArrayList &args, TRight right);
    QByteArray Fsd(TNutSession &session, const QByteArrayList &args, TRight right);
    QByteArray InstCmd(TNutSession &session, const QByteArrayList &args, TRight right);
    QByteArray Set(TNutSession &session, const QByteArrayList &args, TRight right);
    QByteArray Get(TNutSession &session, const QByteArrayList &args, TRight);
    QByteArray List(TNutSession &session, const QByteArrayList &args, TRight);

    QByteArray GetNumLogins(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray GetUpsDesc(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray GetVar(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray GetType(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray GetDesc(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray GetCmdDesc(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray GetTracking(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray ListUps(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray ListVar(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray ListRw(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray ListCmd(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray ListEnum(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray ListRange(TNutSession &, const QByteArrayList &args, TRight);
    QByteArray ListClient(TNutSession &, const QByteArrayList &args, TRight);

    QByteArray GrantPrimary(TNutSession &session, const QByteArrayList &args, TRight right, const char *granted);
    // The empty list of ENUM or RANGE, for a variable the unit has.
    QByteArray EmptyVariableList(const char *kind, const QByteArrayList &args);
    // For a command that names one unit and needs a right: the error to
    // answer, or nothing with addr set.
    QByteArray Authorize(TNutSession &session, const QByteArrayList &args, TRight right, const char *command,
                         int &addr);
    // The reply about the unit args[0] names, or the error when there is
    // none (or, with fresh, when its values are not fresh).
    QByteArray AboutUnit(const QByteArrayList &args, bool fresh,
                         const std::function<QByteArray(int addr, const QByteArray &name)> &format);
    // The same for the variable args[1] of that unit.
    QByteArray AboutVariable(
        const QByteArrayList &args, bool fresh,
        const std::function<QByteArray(const QByteArray &name, const NutVariables::TVariable &variable)> &format);

    // The unit's variables, whether or not it is online.
    std::vector<NutVariables::TVariable> VariablesOf(int addr);
    const NutVariables::TVariable *FindVariable(const std::vector<NutVariables::TVariable> &variables,
                                                 QByteArrayView name) const;
    // Online with a known state: only then are its values served.
    bool Online(int addr) const;
    QByteArrayList CommandsOf(int addr) const;
    QString DescriptionOf(int addr) const;

    // Whether the session's username and password grant the right.
    bool Permitted(TNutSession &session, TRight right, QByteArrayView instCmd = {});
    void Refused(TNutSession &session, QByteArrayView command, int addr);
    void Log(const QString &line) const;
    static QString Who(const TNutSession &session);

    TNutData FData;
    TServiceLog FLog;
    TNutUsers FUsers;
    int FLowRuntime = 300;
    std::vector<std::unique_ptr<TNutSession>> FSessions;
    std::array<bool, 256> FForcedShutdown{};
    std::array<NutVariables::TPhases, 256> FPhases{};
};
