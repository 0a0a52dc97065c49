#include "service/TNutProtocol.h"

#include "app/TSettings.h"
#include "model/TDeviceList.h"
#include "model/TUpsInfoTable.h"
#include "service/NutInstCmds.h"
#include "service/NutText.h"

#include <algorithm>

namespace {

constexpr const char *kNetVersion = "1.3";
constexpr int kFirstAddr = 1;
constexpr int kLastAddr = 252;
constexpr qsizetype kMaxLoggedText = 64;

QByteArray Error(const char *word)
{
    return QByteArray("ERR ") + word + '\n';
}

QByteArray Line(const QByteArray &text)
{
    return text + '\n';
}

// A word a client sent, fit for the log: bounded, without control characters.
QString Printable(QByteArrayView bytes)
{
    QString text = QString::fromUtf8(bytes.first(std::min(bytes.size(), kMaxLoggedText)));
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    return text;
}

template <typename TRow, size_t N>
const TRow *FindRow(const TRow (&table)[N], QByteArrayView word)
{
    for (const TRow &row : table)
        if (word.compare(QByteArrayView(row.Name), Qt::CaseInsensitive) == 0)
            return &row;
    return nullptr;
}

} // namespace

const TNutProtocol::TCommand TNutProtocol::kCommands[] = {
    {"VER", TRight::kNone, &TNutProtocol::Ver},
    {"NETVER", TRight::kNone, &TNutProtocol::NetVer},
    {"HELP", TRight::kNone, &TNutProtocol::Help},
    {"STARTTLS", TRight::kNone, &TNutProtocol::StartTls},
    {"USERNAME", TRight::kNone, &TNutProtocol::UserName},
    {"PASSWORD", TRight::kNone, &TNutProtocol::Password},
    {"LOGOUT", TRight::kNone, &TNutProtocol::Logout},
    {"GET", TRight::kNone, &TNutProtocol::Get},
    {"LIST", TRight::kNone, &TNutProtocol::List},
    {"LOGIN", TRight::kLogin, &TNutProtocol::Login},
    {"PRIMARY", TRight::kPrimary, &TNutProtocol::Primary},
    {"MASTER", TRight::kPrimary, &TNutProtocol::Master},
    {"FSD", TRight::kForcedShutdown, &TNutProtocol::Fsd},
    {"INSTCMD", TRight::kInstCmd, &TNutProtocol::InstCmd},
    {"SET", TRight::kSet, &TNutProtocol::Set},
};

const TNutProtocol::TSubCommand TNutProtocol::kGetCommands[] = {
    {"NUMLOGINS", 1, &TNutProtocol::GetNumLogins},
    {"UPSDESC", 1, &TNutProtocol::GetUpsDesc},
    {"VAR", 2, &TNutProtocol::GetVar},
    {"TYPE", 2, &TNutProtocol::GetType},
    {"DESC", 2, &TNutProtocol::GetDesc},
    {"CMDDESC", 2, &TNutProtocol::GetCmdDesc},
    {"TRACKING", -1, &TNutProtocol::GetTracking},
};

const TNutProtocol::TSubCommand TNutProtocol::kListCommands[] = {
    {"UPS", 0, &TNutProtocol::ListUps},
    {"VAR", 1, &TNutProtocol::ListVar},
    {"RW", 1, &TNutProtocol::ListRw},
    {"CMD", 1, &TNutProtocol::ListCmd},
    {"ENUM", 2, &TNutProtocol::ListEnum},
    {"RANGE", 2, &TNutProtocol::ListRange},
    {"CLIENT", 1, &TNutProtocol::ListClient},
};

TNutProtocol::TNutProtocol(TNutData data, TServiceLog log) : FData(std::move(data)), FLog(std::move(log))
{
}

TNutSession &TNutProtocol::OpenSession(const QByteArray &peer)
{
    FSessions.push_back(std::make_unique<TNutSession>());
    FSessions.back()->Peer = peer;
    return *FSessions.back();
}

void TNutProtocol::CloseSession(TNutSession &session)
{
    std::erase_if(FSessions, [&session](const auto &owned) { return owned.get() == &session; });
}

QByteArray TNutProtocol::Handle(TNutSession &session, QByteArrayView line)
{
    const std::optional<QByteArrayList> words = NutText::SplitLine(line);
    if (!words || words->size() > kMaxWords)
        return Error("INVALID-ARGUMENT");
    if (words->isEmpty())
        return {};
    const TCommand *command = FindRow(kCommands, words->first());
    if (command == nullptr)
        return Error("UNKNOWN-COMMAND");
    if (command->Right != TRight::kNone) {
        if (!session.UserName)
            return Error("USERNAME-REQUIRED");
        if (!session.Password)
            return Error("PASSWORD-REQUIRED");
    }
    return (this->*command->Handler)(session, words->mid(1), command->Right);
}

template <size_t N>
QByteArray TNutProtocol::RunSubCommand(const TSubCommand (&table)[N], TNutSession &session,
                                       const QByteArrayList &args)
{
    if (args.isEmpty())
        return Error("INVALID-ARGUMENT");
    const TSubCommand *sub = FindRow(table, args.first());
    const QByteArrayList rest = args.mid(1);
    if (sub == nullptr || (sub->Args >= 0 && rest.size() != sub->Args))
        return Error("INVALID-ARGUMENT");
    return (this->*sub->Handler)(session, rest, TRight::kNone);
}

// --- commands anyone may send

QByteArray TNutProtocol::Ver(TNutSession &, const QByteArrayList &, TRight)
{
    return Line("Orvan 2000 " + FData.Version.toUtf8() + " - NUT network protocol " + kNetVersion);
}

QByteArray TNutProtocol::NetVer(TNutSession &, const QByteArrayList &, TRight)
{
    return Line(kNetVersion);
}

QByteArray TNutProtocol::Help(TNutSession &, const QByteArrayList &, TRight)
{
    QByteArray line("Commands:");
    for (const TCommand &command : kCommands)
        line += QByteArray(" ") + command.Name;
    return Line(line);
}

QByteArray TNutProtocol::StartTls(TNutSession &, const QByteArrayList &, TRight)
{
    return Error("FEATURE-NOT-CONFIGURED");
}

namespace {

// USERNAME and PASSWORD: each is given once per connection, not empty.
QByteArray SetCredential(std::optional<QByteArray> &credential, const QByteArrayList &args, const char *what)
{
    if (args.size() != 1)
        return Error("INVALID-ARGUMENT");
    if (credential)
        return Error((QByteArray("ALREADY-SET-") + what).constData());
    if (args.first().isEmpty())
        return Error((QByteArray("INVALID-") + what).constData());
    credential = args.first();
    return Line("OK");
}

} // namespace

QByteArray TNutProtocol::UserName(TNutSession &session, const QByteArrayList &args, TRight)
{
    return SetCredential(session.UserName, args, "USERNAME");
}

QByteArray TNutProtocol::Password(TNutSession &session, const QByteArrayList &args, TRight)
{
    // Checked against the users file only when a command needs it, as
    // upsd does; a wrong one is refused there.
    return SetCredential(session.Password, args, "PASSWORD");
}

QByteArray TNutProtocol::Logout(TNutSession &session, const QByteArrayList &, TRight)
{
    session.Finished = true;
    return Line("OK Goodbye");
}

QByteArray TNutProtocol::Get(TNutSession &session, const QByteArrayList &args, TRight)
{
    return RunSubCommand(kGetCommands, session, args);
}

QByteArray TNutProtocol::List(TNutSession &session, const QByteArrayList &args, TRight)
{
    return RunSubCommand(kListCommands, session, args);
}

// --- commands that need a user

QByteArray TNutProtocol::Authorize(TNutSession &session, const QByteArrayList &args, TRight right,
                                   const char *command, int &addr)
{
    if (args.size() != 1)
        return Error("INVALID-ARGUMENT");
    const std::optional<int> unit = UpsAddress(args.first());
    if (!unit)
        return Error("UNKNOWN-UPS");
    if (!Permitted(session, right)) {
        Refused(session, command, *unit);
        return Error("ACCESS-DENIED");
    }
    addr = *unit;
    return {};
}

QByteArray TNutProtocol::Login(TNutSession &session, const QByteArrayList &args, TRight right)
{
    if (args.size() == 1 && session.LoginAddr != 0)
        return Error("ALREADY-LOGGED-IN");
    int addr = 0;
    if (const QByteArray refusal = Authorize(session, args, right, "LOGIN", addr); !refusal.isEmpty())
        return refusal;
    session.LoginAddr = addr;
    Log(QStringLiteral("NUT: %1 logged in to %2").arg(Who(session), QString::fromLatin1(UpsName(addr))));
    return Line("OK");
}

QByteArray TNutProtocol::GrantPrimary(TNutSession &session, const QByteArrayList &args, TRight right,
                                      const char *granted)
{
    int addr = 0;
    if (const QByteArray refusal = Authorize(session, args, right, "PRIMARY", addr); !refusal.isEmpty())
        return refusal;
    return Line(QByteArray("OK ") + granted);
}

QByteArray TNutProtocol::Primary(TNutSession &session, const QByteArrayList &args, TRight right)
{
    return GrantPrimary(session, args, right, "PRIMARY-GRANTED");
}

QByteArray TNutProtocol::Master(TNutSession &session, const QByteArrayList &args, TRight right)
{
    return GrantPrimary(session, args, right, "MASTER-GRANTED");
}

QByteArray TNutProtocol::Fsd(TNutSession &session, const QByteArrayList &args, TRight right)
{
    int addr = 0;
    if (const QByteArray refusal = Authorize(session, args, right, "FSD", addr); !refusal.isEmpty())
        return refusal;
    if (!FForcedShutdown[static_cast<size_t>(addr)])
        Log(QStringLiteral("NUT: %1 set forced shutdown (FSD) on %2").arg(Who(session), QString::fromLatin1(UpsName(addr))));
    FForcedShutdown[static_cast<size_t>(addr)] = true;
    return Line("OK FSD-SET");
}

QByteArray TNutProtocol::InstCmd(TNutSession &session, const QByteArrayList &args, TRight right)
{
    if (args.size() != 2 && args.size() != 3)
        return Error("INVALID-ARGUMENT");
    const std::optional<int> addr = UpsAddress(args[0]);
    if (!addr)
        return Error("UNKNOWN-UPS");
    if (!Online(*addr))
        return Error("DATA-STALE");
    const QByteArray name = args[1].toLower();
    if (!CommandsOf(*addr).contains(name))
        return Error("CMD-NOT-SUPPORTED");
    if (!Permitted(session, right, name)) {
        Refused(session, "INSTCMD " + name, *addr);
        return Error("ACCESS-DENIED");
    }
    const std::optional<QByteArray> value = args.size() == 3 ? std::optional<QByteArray>(args[2]) : std::nullopt;
    const std::optional<QByteArray> error = NutInstCmds::Queue(FData.CmdQueue, FData.Settings.PortInfo.Protocol,
                                                               static_cast<std::uint8_t>(*addr), name, value);
    if (error)
        return Error(error->constData());
    Log(QStringLiteral("NUT: %1 queued %2%3 for %4")
            .arg(Who(session), QString::fromLatin1(name),
                 value ? QLatin1Char(' ') + Printable(*value) : QString(), QString::fromLatin1(UpsName(*addr))));
    return Line("OK");
}

QByteArray TNutProtocol::Set(TNutSession &session, const QByteArrayList &args, TRight right)
{
    if (!args.isEmpty() && args.first().compare("TRACKING", Qt::CaseInsensitive) == 0)
        return Error("FEATURE-NOT-SUPPORTED");
    if (args.size() != 4 || args.first().compare("VAR", Qt::CaseInsensitive) != 0)
        return Error("INVALID-ARGUMENT");
    const std::optional<int> addr = UpsAddress(args[1]);
    if (!addr)
        return Error("UNKNOWN-UPS");
    if (FindVariable(VariablesOf(*addr), args[2]) == nullptr)
        return Error("VAR-NOT-SUPPORTED");
    if (!Permitted(session, right)) {
        Refused(session, "SET", *addr);
        return Error("ACCESS-DENIED");
    }
    // Every value is read from the unit; none is written through here.
    return Error("READONLY");
}

// --- GET

QByteArray TNutProtocol::GetNumLogins(TNutSession &, const QByteArrayList &args, TRight)
{
    return AboutUnit(args, false, [this](int addr, const QByteArray &name) {
        return Line("NUMLOGINS " + name + ' ' + QByteArray::number(NumLogins(addr)));
    });
}

QByteArray TNutProtocol::GetUpsDesc(TNutSession &, const QByteArrayList &args, TRight)
{
    return AboutUnit(args, false, [this](int addr, const QByteArray &name) {
        return Line("UPSDESC " + name + ' ' + NutText::QuoteText(DescriptionOf(addr)));
    });
}

QByteArray TNutProtocol::GetVar(TNutSession &, const QByteArrayList &args, TRight)
{
    return AboutVariable(args, true, [](const QByteArray &name, const NutVariables::TVariable &variable) {
        return Line("VAR " + name + ' ' + variable.Name + ' ' + NutText::Quote(variable.Value));
    });
}

QByteArray TNutProtocol::GetType(TNutSession &, const QByteArrayList &args, TRight)
{
    return AboutVariable(args, false, [](const QByteArray &name, const NutVariables::TVariable &variable) {
        const QByteArray type = variable.IsNumber
                                    ? QByteArray("NUMBER")
                                    : "STRING:" + QByteArray::number(std::max<qsizetype>(64, variable.Value.size()));
        return Line("TYPE " + name + ' ' + variable.Name + ' ' + type);
    });
}

QByteArray TNutProtocol::GetDesc(TNutSession &, const QByteArrayList &args, TRight)
{
    return AboutVariable(args, false, [](const QByteArray &name, const NutVariables::TVariable &variable) {
        return Line("DESC " + name + ' ' + variable.Name + ' '
                    + NutText::QuoteText(NutVariables::Description(variable.Name)));
    });
}

QByteArray TNutProtocol::GetCmdDesc(TNutSession &, const QByteArrayList &args, TRight)
{
    return AboutUnit(args, false, [this, &args](int addr, const QByteArray &name) {
        const QByteArray command = args[1].toLower();
        if (!CommandsOf(addr).contains(command))
            return Error("CMD-NOT-SUPPORTED");
        return Line("CMDDESC " + name + ' ' + command + ' ' + NutText::QuoteText(NutInstCmds::Description(command)));
    });
}

QByteArray TNutProtocol::GetTracking(TNutSession &, const QByteArrayList &args, TRight)
{
    // Commands are not tracked: they go out with the next poll and the
    // unit's reply is not waited for. No id is ever handed out.
    if (args.isEmpty())
        return Line("OFF");
    return Error("INVALID-ARGUMENT");
}

// --- LIST

QByteArray TNutProtocol::ListUps(TNutSession &, const QByteArrayList &, TRight)
{
    QByteArray out = Line("BEGIN LIST UPS");
    std::array<bool, 256> listed{};
    for (int position = 1; position <= FData.Devices.Count(); ++position) {
        const int addr = FData.Devices.At(position)->Addr;
        if (addr < kFirstAddr || addr > kLastAddr || listed[static_cast<size_t>(addr)])
            continue;
        listed[static_cast<size_t>(addr)] = true;
        out += Line("UPS " + UpsName(addr) + ' ' + NutText::QuoteText(DescriptionOf(addr)));
    }
    return out + Line("END LIST UPS");
}

QByteArray TNutProtocol::ListVar(TNutSession &, const QByteArrayList &args, TRight)
{
    return AboutUnit(args, true, [this](int addr, const QByteArray &name) {
        QByteArray out = Line("BEGIN LIST VAR " + name);
        for (const NutVariables::TVariable &variable : VariablesOf(addr))
            out += Line("VAR " + name + ' ' + variable.Name + ' ' + NutText::Quote(variable.Value));
        return out + Line("END LIST VAR " + name);
    });
}

QByteArray TNutProtocol::ListRw(TNutSession &, const QByteArrayList &args, TRight)
{
    return AboutUnit(args, false, [](int, const QByteArray &name) {
        return Line("BEGIN LIST RW " + name) + Line("END LIST RW " + name);
    });
}

QByteArray TNutProtocol::ListCmd(TNutSession &, const QByteArrayList &args, TRight)
{
    return AboutUnit(args, false, [this](int addr, const QByteArray &name) {
        QByteArray out = Line("BEGIN LIST CMD " + name);
        for (const QByteArray &command : CommandsOf(addr))
            out += Line("CMD " + name + ' ' + command);
        return out + Line("END LIST CMD " + name);
    });
}

QByteArray TNutProtocol::EmptyVariableList(const char *kind, const QByteArrayList &args)
{
    return AboutVariable(args, false, [kind](const QByteArray &name, const NutVariables::TVariable &variable) {
        const QByteArray what = QByteArray(kind) + ' ' + name + ' ' + variable.Name;
        return Line("BEGIN LIST " + what) + Line("END LIST " + what);
    });
}

QByteArray TNutProtocol::ListEnum(TNutSession &, const QByteArrayList &args, TRight)
{
    return EmptyVariableList("ENUM", args);
}

QByteArray TNutProtocol::ListRange(TNutSession &, const QByteArrayList &args, TRight)
{
    return EmptyVariableList("RANGE", args);
}

QByteArray TNutProtocol::ListClient(TNutSession &, const QByteArrayList &args, TRight)
{
    return AboutUnit(args, false, [this](int addr, const QByteArray &name) {
        QByteArray out = Line("BEGIN LIST CLIENT " + name);
        for (const auto &session : FSessions)
            if (session->LoginAddr == addr)
                out += Line("CLIENT " + name + ' ' + session->Peer);
        return out + Line("END LIST CLIENT " + name);
    });
}

QByteArray TNutProtocol::AboutUnit(const QByteArrayList &args, bool fresh,
                                   const std::function<QByteArray(int addr, const QByteArray &name)> &format)
{
    const std::optional<int> addr = UpsAddress(args.first());
    if (!addr)
        return Error("UNKNOWN-UPS");
    if (fresh && !Online(*addr))
        return Error("DATA-STALE");
    return format(*addr, UpsName(*addr));
}

QByteArray TNutProtocol::AboutVariable(
    const QByteArrayList &args, bool fresh,
    const std::function<QByteArray(const QByteArray &name, const NutVariables::TVariable &variable)> &format)
{
    return AboutUnit(args, fresh, [&](int addr, const QByteArray &name) {
        const std::vector<NutVariables::TVariable> variables = VariablesOf(addr);
        const NutVariables::TVariable *variable = FindVariable(variables, args[1]);
        if (variable == nullptr)
            return Error("VAR-NOT-SUPPORTED");
        return format(name, *variable);
    });
}

// --- units

std::optional<int> TNutProtocol::UpsAddress(QByteArrayView name) const
{
    if (name.size() < 4 || name.size() > 6 || !name.first(3).toByteArray().toLower().startsWith("ups"))
        return std::nullopt;
    const QByteArrayView digits = name.sliced(3);
    if (digits.front() == '0')
        return std::nullopt;
    int addr = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        addr = addr * 10 + (c - '0');
    }
    if (addr < kFirstAddr || addr > kLastAddr || FData.Devices.FindAddr(static_cast<quint8>(addr)) == nullptr)
        return std::nullopt;
    return addr;
}

QByteArray TNutProtocol::UpsName(int addr)
{
    return "ups" + QByteArray::number(addr);
}

bool TNutProtocol::Online(int addr) const
{
    const TUpsInfo &rec = FData.UpsInfo[addr];
    return FData.PortOpened() && rec.LinkState == kLinkOnline && rec.State >= 0;
}

QByteArrayList TNutProtocol::CommandsOf(int) const
{
    return NutInstCmds::Supported(FData.Settings.PortInfo.Protocol);
}

QString TNutProtocol::DescriptionOf(int addr) const
{
    const TDeviceNode *device = FData.Devices.FindAddr(static_cast<quint8>(addr));
    const QString name = device != nullptr ? device->NameText() : QString();
    return name.isEmpty() ? QStringLiteral("Unavailable") : name;
}

std::vector<NutVariables::TVariable> TNutProtocol::VariablesOf(int addr)
{
    const TUpsInfo &rec = FData.UpsInfo[addr];
    NutVariables::TPhases &phases = FPhases[static_cast<size_t>(addr)];
    if (Online(addr))
        phases.Note(rec);
    NutVariables::TUnitFacts facts;
    facts.Protocol = FData.Settings.PortInfo.Protocol;
    facts.LowRuntime = FLowRuntime;
    facts.ForcedShutdown = FForcedShutdown[static_cast<size_t>(addr)];
    facts.Phases = phases;
    const TDeviceNode *device = FData.Devices.FindAddr(static_cast<quint8>(addr));
    facts.Description = device != nullptr ? device->NameText() : QString();
    facts.PortName = FData.Settings.PortInfo.ComName;
    facts.DriverVersion = FData.Version;
    return NutVariables::Variables(rec, facts);
}

const NutVariables::TVariable *TNutProtocol::FindVariable(const std::vector<NutVariables::TVariable> &variables,
                                                           QByteArrayView name) const
{
    const auto found = std::find_if(variables.begin(), variables.end(), [name](const NutVariables::TVariable &v) {
        return name.compare(v.Name, Qt::CaseInsensitive) == 0;
    });
    return found != variables.end() ? &*found : nullptr;
}

void TNutProtocol::NotePhases()
{
    for (int position = 1; position <= FData.Devices.Count(); ++position) {
        const int addr = FData.Devices.At(position)->Addr;
        if (addr >= kFirstAddr && addr <= kLastAddr && Online(addr))
            FPhases[static_cast<size_t>(addr)].Note(FData.UpsInfo[addr]);
    }
}

void TNutProtocol::ForgetUnlistedUnits()
{
    for (int addr = 0; addr < static_cast<int>(FPhases.size()); ++addr) {
        if (FData.Devices.FindAddr(static_cast<quint8>(addr)) != nullptr)
            continue;
        FPhases[static_cast<size_t>(addr)] = {};
        FForcedShutdown[static_cast<size_t>(addr)] = false;
    }
}

int TNutProtocol::NumLogins(int addr) const
{
    return static_cast<int>(std::count_if(FSessions.begin(), FSessions.end(),
                                          [addr](const auto &session) { return session->LoginAddr == addr; }));
}

// --- rights

bool TNutProtocol::Permitted(TNutSession &session, TRight right, QByteArrayView instCmd)
{
    const TNutUser *user = FUsers.Authenticate(*session.UserName, *session.Password);
    if (user == nullptr)
        return false;
    switch (right) {
    case TRight::kNone: return true;
    case TRight::kLogin: return user->MayLogin();
    case TRight::kPrimary: return user->IsPrimary();
    case TRight::kForcedShutdown: return user->MayForceShutdown();
    case TRight::kInstCmd: return user->MayRun(instCmd);
    case TRight::kSet: return user->MaySet();
    }
    return false;
}

void TNutProtocol::Refused(TNutSession &session, QByteArrayView command, int addr)
{
    // Once per connection: a client that guesses passwords must not fill the log.
    if (session.DenialLogged)
        return;
    session.DenialLogged = true;
    Log(QStringLiteral("NUT: access denied to %1 for %2 on %3")
            .arg(Who(session), Printable(command), QString::fromLatin1(UpsName(addr))));
}

QString TNutProtocol::Who(const TNutSession &session)
{
    return Printable(session.UserName.value_or(QByteArray())) + QLatin1Char('@') + QString::fromLatin1(session.Peer);
}

void TNutProtocol::Log(const QString &line) const
{
    if (FLog)
        FLog(line);
}
