#include "SimUnit.h"

#include <QtMath>

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace {

// Status word bits, named after what the monitor reads from them.
constexpr quint16 kS1InputSwitch = 0x8000;
constexpr quint16 kS1RectifierOn = 0x4000;
constexpr quint16 kS1Epo = 0x2000;
constexpr quint16 kS1InputPresent = 0x0800;
constexpr quint16 kS1MainsSupply = 0x0400;
constexpr quint16 kS1BatteryTest = 0x0200;
constexpr quint16 kI1BypassSwitch = 0x8000;
constexpr quint16 kI1OutputSwitch = 0x4000;
constexpr quint16 kI1MaintSwitch = 0x2000;
constexpr quint16 kI1InverterRunning = 0x0600;
constexpr quint16 kI1InverterReady = 0x0400;
constexpr quint16 kI1SoftStart = 0x0200;
constexpr quint16 kI1InverterSupply = 0x0100;
constexpr quint16 kI1BypassSupply = 0x0080;
constexpr quint16 kI2EcoActive = 0x0800;

// Automatic alarms, one code per protocol family.
constexpr int kAlarmMainsAbnormal = 25;
constexpr int kAlarmMainsAbnormalAscii = 202;
constexpr int kAlarmLowBattery = 23;
constexpr int kAlarmLowBatteryAscii = 209;
constexpr int kAlarmOverload = 51;
constexpr int kAlarmOverloadAscii = 119;
constexpr int kAlarmBatteryEmpty = 21;
constexpr int kAlarmBatteryEmptyAscii = 206;

constexpr double kRatedWatts = 20000.0;
// A battery test ends early when the battery falls this low.
constexpr double kTestMinCapacity = 25.0;

const QList<std::pair<SimMode, const char *>> &ModeNames()
{
    static const QList<std::pair<SimMode, const char *>> names = {
        {SimMode::Online, "online"},       {SimMode::Battery, "battery"},
        {SimMode::BatteryTest, "test"},    {SimMode::Bypass, "bypass"},
        {SimMode::Eco, "eco"},             {SimMode::Standby, "standby"},
        {SimMode::SoftStart, "softstart"}, {SimMode::NoOutput, "nooutput"},
        {SimMode::Epo, "epo"},             {SimMode::MaintBypass, "maintbypass"},
    };
    return names;
}

// The state byte the unit reports about itself.
quint16 ModeStateCode(SimMode mode)
{
    switch (mode) {
    case SimMode::Standby: return 1;
    case SimMode::NoOutput: return 2;
    case SimMode::Bypass: return 3;
    case SimMode::Online: return 4;
    case SimMode::Battery: return 5;
    case SimMode::BatteryTest: return 6;
    case SimMode::SoftStart: return 7;
    case SimMode::Eco: return 8;
    case SimMode::Epo: return 9;
    case SimMode::MaintBypass: return 10;
    }
    return 0;
}

quint16 ToRegister(double value)
{
    return static_cast<quint16>(std::clamp<long long>(std::llround(value), 0, 0xFFFF));
}

std::optional<double> ParseNumber(const QString &text)
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const uint value = trimmed.mid(2).toUInt(&ok, 16);
        return ok ? std::optional<double>(value) : std::nullopt;
    }
    const double value = trimmed.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::optional<bool> ParseFlag(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("1") || t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("on"))
        return true;
    if (t == QLatin1String("0") || t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("off"))
        return false;
    return std::nullopt;
}

using ReadingSetter = std::function<void(SimReadings &, double)>;

ReadingSetter Word(quint16 SimReadings::*member)
{
    return [member](SimReadings &r, double v) { r.*member = static_cast<quint16>(std::llround(v)); };
}

ReadingSetter Value(double SimReadings::*member)
{
    return [member](SimReadings &r, double v) { r.*member = v; };
}

ReadingSetter Phases(std::array<double, 3> SimReadings::*member, int phase)
{
    return [member, phase](SimReadings &r, double v) {
        if (phase < 0)
            (r.*member).fill(v);
        else
            (r.*member)[phase] = v;
    };
}

// Readings a scenario may pin to a fixed value, by the monitor's field names.
const QMap<QString, ReadingSetter> &OverrideSetters()
{
    static const QMap<QString, ReadingSetter> setters = [] {
        QMap<QString, ReadingSetter> s;
        const std::pair<const char *, std::array<double, 3> SimReadings::*> phased[] = {
            {"inputvolt", &SimReadings::inputVolt},
            {"outputvolt", &SimReadings::outputVolt},
            {"loadpercent", &SimReadings::loadPercent},
        };
        for (const auto &[name, member] : phased) {
            s.insert(QLatin1String(name), Phases(member, -1));
            for (int phase = 0; phase < 3; ++phase)
                s.insert(QLatin1String(name) + QChar(u'a' + phase), Phases(member, phase));
        }
        s.insert(QStringLiteral("outputfreq"), Value(&SimReadings::outputFreq));
        s.insert(QStringLiteral("posbattvolt"), Value(&SimReadings::posBattVolt));
        s.insert(QStringLiteral("negbattvolt"), Value(&SimReadings::negBattVolt));
        s.insert(QStringLiteral("poschargecurrent"), Value(&SimReadings::posChargeCurrent));
        s.insert(QStringLiteral("negchargecurrent"), Value(&SimReadings::negChargeCurrent));
        s.insert(QStringLiteral("posdischargecurrent"), Value(&SimReadings::posDischargeCurrent));
        s.insert(QStringLiteral("negdischargecurrent"), Value(&SimReadings::negDischargeCurrent));
        s.insert(QStringLiteral("battcapacity"), Value(&SimReadings::battCapacity));
        s.insert(QStringLiteral("battbackuptime"), Value(&SimReadings::battBackupTime));
        s.insert(QStringLiteral("inputswitch"), Value(&SimReadings::inputSwitch));
        s.insert(QStringLiteral("outputswitch"), Value(&SimReadings::outputSwitch));
        s.insert(QStringLiteral("bypassswitch"), Value(&SimReadings::bypassSwitch));
        s.insert(QStringLiteral("maintbypassswitch"), Value(&SimReadings::maintBypassSwitch));
        s.insert(QStringLiteral("inputsupply"), Value(&SimReadings::inputSupply));
        s.insert(QStringLiteral("upssupply"), Value(&SimReadings::upsSupply));
        s.insert(QStringLiteral("upsstatecode"), Word(&SimReadings::upsStateCode));
        s.insert(QStringLiteral("cmmstate1"), Word(&SimReadings::cmmState1));
        s.insert(QStringLiteral("cmmstate2"), Word(&SimReadings::cmmState2));
        s.insert(QStringLiteral("invstate1"), Word(&SimReadings::invState1));
        s.insert(QStringLiteral("invstate2"), Word(&SimReadings::invState2));
        s.insert(QStringLiteral("cmmalarm1"), Word(&SimReadings::cmmAlarm1));
        s.insert(QStringLiteral("cmmalarm2"), Word(&SimReadings::cmmAlarm2));
        s.insert(QStringLiteral("invalarm1"), Word(&SimReadings::invAlarm1));
        s.insert(QStringLiteral("invalarm2"), Word(&SimReadings::invAlarm2));
        s.insert(QStringLiteral("sysstate"), Word(&SimReadings::sysState));
        s.insert(QStringLiteral("sysalarm"), Word(&SimReadings::sysAlarm));
        return s;
    }();
    return setters;
}

// Where an alarm code of the status-word family lives: the word and its bit.
// The monitor numbers the bits of each word downwards from its first code.
std::optional<std::pair<quint16 SimReadings::*, int>> AlarmBit(int code)
{
    if (code >= 0 && code <= 15)
        return std::pair{&SimReadings::cmmAlarm1, 15 - code};
    if (code >= 16 && code <= 25)
        return std::pair{&SimReadings::cmmAlarm2, 31 - code};
    if (code >= 32 && code <= 47)
        return std::pair{&SimReadings::invAlarm1, 47 - code};
    if (code >= 48 && code <= 56)
        return std::pair{&SimReadings::invAlarm2, 63 - code};
    if (code >= 64 && code <= 71)
        return std::pair{&SimReadings::sysAlarm, 79 - code};
    return std::nullopt;
}

} // namespace

SimUnit::SimUnit(int address) : m_address(address)
{
    for (int reg = 40001; reg <= 40029; ++reg)
        m_holding.insert(reg, 0);
    const std::pair<int, int> defaults[] = {
        {40002, 1},   {40005, 220}, {40006, 50},  {40007, 1},   {40011, 10},
        {40012, 15},  {40013, -20}, {40015, 192}, {40017, 1},   {40018, 235},
        {40019, 225}, {40020, 175}, {40021, 100}, {40022, 5},   {40023, 10},
        {40025, 120},
    };
    for (const auto &[reg, value] : defaults)
        m_holding[reg] = static_cast<quint16>(value);
}

std::optional<SimMode> SimUnit::ModeFromName(const QString &name)
{
    for (const auto &[mode, text] : ModeNames())
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return mode;
    return std::nullopt;
}

QString SimUnit::ModeName(SimMode mode)
{
    for (const auto &[m, text] : ModeNames())
        if (m == mode)
            return QLatin1String(text);
    return QString();
}

std::optional<SimMalformed> SimUnit::MalformedFromName(const QString &name)
{
    static const std::pair<const char *, SimMalformed> names[] = {
        {"none", SimMalformed::None},           {"checksum", SimMalformed::Checksum},
        {"length", SimMalformed::Length},       {"rtn04", SimMalformed::Rtn04},
        {"lowercase", SimMalformed::LowerCase}, {"nocr", SimMalformed::NoCr},
        {"eoi", SimMalformed::WrongEoi},
    };
    for (const auto &[text, kind] : names)
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return kind;
    return std::nullopt;
}

bool SimUnit::IsKnownAlarmCode(int code)
{
    return AlarmBit(code).has_value() || (code >= 100 && code <= 155) || code == 160
        || (code >= 201 && code <= 210);
}

double SimUnit::NominalVolt() const
{
    return Param(40005) > 0 ? Param(40005) : 220.0;
}

bool SimUnit::MainsOk() const
{
    const double nominal = NominalVolt();
    const double nominalFreq = Param(40006) > 0 ? Param(40006) : 50.0;
    return m_mains >= nominal * 0.8 && m_mains <= nominal * 1.2
        && std::abs(m_freq - nominalFreq) <= nominalFreq * 0.1;
}

bool SimUnit::OnBattery() const
{
    return m_mode == SimMode::Battery || m_mode == SimMode::BatteryTest;
}

bool SimUnit::OutputOn() const
{
    switch (m_mode) {
    case SimMode::Standby:
    case SimMode::SoftStart:
    case SimMode::NoOutput:
    case SimMode::Epo:
        return false;
    default:
        return true;
    }
}

// Small slow swings so that the graphs of a monitor look alive; each unit and
// phase swings out of step with the others.
double SimUnit::Wobble(double periodSeconds, int phase) const
{
    return m_wobble * std::sin(2.0 * M_PI * (m_time / periodSeconds + phase / 3.0 + m_address * 0.1));
}

double SimUnit::BackupMinutes() const
{
    return m_capacity / 100.0 * Param(40021) * 0.6 * 50.0 / std::max(m_load, 5.0);
}

double SimUnit::CellVolt() const
{
    const double eod = Param(40020) / 100.0;
    if (OnBattery() || !MainsOk() || m_mode == SimMode::Epo)
        return eod + (2.15 - eod) * m_capacity / 100.0;
    return (m_capacity < 100.0 ? Param(40018) : Param(40019)) / 100.0;
}

double SimUnit::ChargeCurrent() const
{
    if (OnBattery() || !MainsOk() || m_mode == SimMode::Epo)
        return 0;
    if (m_capacity >= 100.0)
        return 0.3; // float charge
    return Param(40023) * std::min(1.0, (100.0 - m_capacity) / 20.0 + 0.1);
}

double SimUnit::DischargeCurrent() const
{
    if (!OnBattery())
        return 0;
    const double groupVolt = Param(40015) / 2.0 * CellVolt();
    return groupVolt > 0 ? m_load / 100.0 * kRatedWatts / 2.0 / groupVolt : 0;
}

void SimUnit::StartSoftStart()
{
    m_mode = SimMode::SoftStart;
    m_softStartLeft = m_softStartSeconds;
    m_testSecondsLeft = 0;
}

void SimUnit::UpdateMode()
{
    const bool eco = Param(40004) == 1;
    if (m_mode == SimMode::SoftStart && m_softStartLeft <= 0)
        m_mode = SimMode::Online;
    if (m_mode == SimMode::BatteryTest
        && (!MainsOk() || m_capacity <= kTestMinCapacity || m_testSecondsLeft == 0)) {
        m_mode = MainsOk() ? SimMode::Online : SimMode::Battery;
        m_testSecondsLeft = 0;
    }
    if ((m_mode == SimMode::Online || m_mode == SimMode::Eco) && !MainsOk())
        m_mode = SimMode::Battery;
    if (m_mode == SimMode::Battery && MainsOk())
        m_mode = SimMode::Online;
    if (m_mode == SimMode::Online && eco)
        m_mode = SimMode::Eco;
    if (m_mode == SimMode::Eco && !eco)
        m_mode = SimMode::Online;
    if (m_mode == SimMode::Battery && m_capacity <= 0)
        m_mode = SimMode::Standby; // end of discharge: the unit shuts down
}

void SimUnit::Advance(double seconds)
{
    // Small steps keep transfers in the right order when a test advances a
    // long time at once.
    while (seconds > 0) {
        const double step = std::min(seconds, 1.0);
        seconds -= step;
        m_time += step;
        if (OnBattery()) {
            const double fullMinutes = Param(40021) * 0.6 * 50.0 / std::max(m_load, 5.0);
            m_capacity -= 100.0 * step * m_speed / (std::max(fullMinutes, 0.1) * 60.0);
        } else if (Param(40021) > 0) {
            m_capacity += ChargeCurrent() / Param(40021) * 100.0 * step * m_speed / 3600.0;
        }
        m_capacity = std::clamp(m_capacity, 0.0, 100.0);
        if (m_mode == SimMode::SoftStart)
            m_softStartLeft -= step;
        if (m_mode == SimMode::BatteryTest && m_testSecondsLeft > 0)
            m_testSecondsLeft = std::max(0.0, m_testSecondsLeft - step);
        UpdateMode();
    }
}

QSet<int> SimUnit::AutomaticAlarms() const
{
    QSet<int> codes;
    if (!MainsOk() && m_mode != SimMode::Epo)
        codes << kAlarmMainsAbnormal << kAlarmMainsAbnormalAscii;
    if (OnBattery() && BackupMinutes() <= Param(40022))
        codes << kAlarmLowBattery << kAlarmLowBatteryAscii;
    if (OutputOn() && m_load > 100.0)
        codes << kAlarmOverload << kAlarmOverloadAscii;
    if (m_capacity <= 0 && !MainsOk())
        codes << kAlarmBatteryEmpty << kAlarmBatteryEmptyAscii;
    return codes;
}

void SimUnit::SetSwitchesAndSupplies(SimReadings &r) const
{
    const bool maint = m_mode == SimMode::MaintBypass;
    r.inputSwitch = 1;
    r.bypassSwitch = 1;
    r.outputSwitch = maint ? 0 : 1;
    r.maintBypassSwitch = maint ? 1 : 0;
    r.inputSupply = OnBattery() ? 2 : MainsOk() ? 1 : 0;
    if (m_mode == SimMode::Online || OnBattery())
        r.upsSupply = 1;
    else if (m_mode == SimMode::Bypass || m_mode == SimMode::Eco)
        r.upsSupply = 2;
    else
        r.upsSupply = 0;
}

void SimUnit::EncodeStatusWords(SimReadings &r) const
{
    quint16 s1 = m_mode == SimMode::Epo ? kS1Epo : kS1RectifierOn;
    if (r.inputSwitch)
        s1 |= kS1InputSwitch;
    if (r.inputSupply == 1)
        s1 |= kS1InputPresent | kS1MainsSupply;
    else if (r.inputSupply == 2)
        s1 |= kS1InputPresent;
    if (m_mode == SimMode::BatteryTest)
        s1 |= kS1BatteryTest;

    quint16 i1 = 0;
    quint16 i2 = 0;
    if (r.bypassSwitch)
        i1 |= kI1BypassSwitch;
    if (r.outputSwitch)
        i1 |= kI1OutputSwitch;
    if (r.maintBypassSwitch)
        i1 |= kI1MaintSwitch;
    if (r.upsSupply == 1)
        i1 |= kI1InverterSupply;
    else if (r.upsSupply == 2)
        i1 |= kI1BypassSupply;
    switch (m_mode) {
    case SimMode::Online:
    case SimMode::Battery:
    case SimMode::BatteryTest:
    case SimMode::NoOutput:
        i1 |= kI1InverterRunning;
        break;
    case SimMode::Eco:
        i1 |= kI1InverterReady;
        i2 |= kI2EcoActive;
        break;
    case SimMode::SoftStart:
        i1 |= kI1SoftStart;
        break;
    default:
        break;
    }
    r.cmmState1 = s1;
    r.invState1 = i1;
    r.invState2 = i2;
    r.upsStateCode = ModeStateCode(m_mode);
    for (int code : r.alarmCodes)
        if (const auto bit = AlarmBit(code))
            r.*(bit->first) |= static_cast<quint16>(1u << bit->second);
}

void SimUnit::ApplyOverrides(SimReadings &r) const
{
    for (auto it = m_overrides.cbegin(); it != m_overrides.cend(); ++it)
        OverrideSetters().value(it.key())(r, it.value());
}

SimReadings SimUnit::Readings() const
{
    SimReadings r;
    const bool output = OutputOn();
    const bool inverterOutput = m_mode == SimMode::Online || OnBattery();
    const double nominalFreq = Param(40006) > 0 ? Param(40006) : 50.0;
    const double trim = static_cast<qint16>(Param(40014)) / 1000.0;
    for (int p = 0; p < 3; ++p) {
        r.inputVolt[p] = m_mains > 0 ? std::max(0.0, m_mains + 0.8 * Wobble(37, p)) : 0.0;
        if (inverterOutput)
            r.outputVolt[p] = NominalVolt() * (1.0 + trim) + 0.2 * Wobble(53, p);
        else if (output)
            r.outputVolt[p] = r.inputVolt[p];
        if (output)
            r.loadPercent[p] = std::max(0.0, m_load + m_wobble * (p - 1) * 1.5 + 0.03 * m_load * Wobble(23, p));
    }
    if (output)
        r.outputFreq = (OnBattery() || !MainsOk() ? nominalFreq : m_freq) + 0.02 * Wobble(61, 0);
    const double groupVolt = Param(40015) / 2.0 * CellVolt();
    r.posBattVolt = groupVolt;
    r.negBattVolt = groupVolt;
    r.posChargeCurrent = r.negChargeCurrent = ChargeCurrent() / 2.0;
    r.posDischargeCurrent = r.negDischargeCurrent = DischargeCurrent();
    r.battCapacity = std::round(m_capacity);
    r.battBackupTime = std::floor(BackupMinutes());
    r.batteryTest = m_mode == SimMode::BatteryTest;

    QSet<int> codes = m_forcedAlarms;
    codes.unite(AutomaticAlarms());
    r.alarmCodes = QList<int>(codes.cbegin(), codes.cend());
    std::sort(r.alarmCodes.begin(), r.alarmCodes.end());
    SetSwitchesAndSupplies(r);
    EncodeStatusWords(r);
    ApplyOverrides(r);
    return r;
}

std::optional<quint16> SimUnit::ReadRegister(int reg) const
{
    if (reg >= 40001 && reg <= 40029)
        return Param(reg);
    const bool known = (reg >= 30001 && reg <= 30014) || (reg >= 30021 && reg <= 30038)
        || (reg >= 30081 && reg <= 30091);
    if (!known)
        return std::nullopt;
    const SimReadings r = Readings();
    switch (reg) {
    case 30001: case 30002: case 30003: return ToRegister(r.inputVolt[reg - 30001] * 10);
    case 30011: case 30012: case 30013: return ToRegister(r.outputVolt[reg - 30011] * 10);
    case 30014: return ToRegister(r.outputFreq * 10);
    case 30021: case 30022: case 30023: return ToRegister(r.loadPercent[reg - 30021]);
    case 30031: return ToRegister(r.posBattVolt * 10);
    case 30032: return ToRegister(r.negBattVolt * 10);
    case 30033: return ToRegister(r.posChargeCurrent * 10);
    case 30034: return ToRegister(r.negChargeCurrent * 10);
    case 30035: return ToRegister(r.posDischargeCurrent * 10);
    case 30036: return ToRegister(r.negDischargeCurrent * 10);
    case 30037: return ToRegister(r.battCapacity);
    case 30038: return ToRegister(r.battBackupTime);
    case 30081: return r.upsStateCode;
    case 30082: return r.cmmState1;
    case 30083: return r.cmmState2;
    case 30084: return r.invState1;
    case 30085: return r.invState2;
    case 30086: return r.cmmAlarm1;
    case 30087: return r.cmmAlarm2;
    case 30088: return r.invAlarm1;
    case 30089: return r.invAlarm2;
    case 30090: return r.sysState;
    case 30091: return r.sysAlarm;
    default: return 0; // inside a block but not measured by this unit
    }
}

bool SimUnit::IsWritable(int reg) const
{
    return (reg >= 20001 && reg <= 20003) || (reg >= 40002 && reg <= 40029) || reg == 50000;
}

bool SimUnit::WriteRegister(int reg, quint16 value)
{
    if (!IsWritable(reg))
        return false;
    switch (reg) {
    case 20001:
        if (value != 0
            && (m_mode == SimMode::Standby || m_mode == SimMode::NoOutput || m_mode == SimMode::Bypass)) {
            StartSoftStart();
            UpdateMode();
        }
        break;
    case 20002:
        if (value != 0 && m_mode != SimMode::Epo && m_mode != SimMode::MaintBypass) {
            m_mode = SimMode::Standby;
            m_testSecondsLeft = 0;
        }
        break;
    case 20003:
        if (value == 0 && m_mode == SimMode::BatteryTest) {
            m_testSecondsLeft = 0;
            UpdateMode();
        } else if (value != 0 && (m_mode == SimMode::Online || m_mode == SimMode::Eco)
                   && m_capacity > kTestMinCapacity) {
            m_mode = SimMode::BatteryTest;
            m_testSecondsLeft = value;
        }
        break;
    case 50000:
        m_reg50000 = value;
        break;
    default:
        m_holding[reg] = value;
        UpdateMode();
        break;
    }
    return true;
}

bool SimUnit::Apply(const QString &rawKey, const QString &value, QString *error)
{
    const QString key = rawKey.trimmed().toLower();
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("%1=%2: %3").arg(rawKey, value, why);
        return false;
    };
    const std::optional<double> number = ParseNumber(value);

    if (key == QLatin1String("state") || key == QLatin1String("mode")) {
        const auto mode = ModeFromName(value.trimmed());
        if (!mode)
            return fail(QStringLiteral("unknown state"));
        // Battery operation needs a mains failure, or the unit would go
        // straight back online; an online unit needs good mains.
        if (*mode == SimMode::Battery)
            m_mains = 0;
        if ((*mode == SimMode::Online || *mode == SimMode::BatteryTest) && !MainsOk()) {
            m_mains = NominalVolt();
            m_freq = Param(40006) > 0 ? Param(40006) : 50.0;
        }
        m_mode = *mode;
        m_testSecondsLeft = *mode == SimMode::BatteryTest ? -1 : 0;
        m_softStartLeft = m_softStartSeconds;
        return true;
    }
    if (key == QLatin1String("alarm") || key == QLatin1String("clear")) {
        if (key == QLatin1String("clear") && value.trimmed().compare(QLatin1String("all"), Qt::CaseInsensitive) == 0) {
            m_forcedAlarms.clear();
            return true;
        }
        if (!number || !IsKnownAlarmCode(static_cast<int>(*number)) || *number != std::floor(*number))
            return fail(QStringLiteral("not an alarm code"));
        if (key == QLatin1String("alarm"))
            m_forcedAlarms.insert(static_cast<int>(*number));
        else
            m_forcedAlarms.remove(static_cast<int>(*number));
        return true;
    }
    if (key == QLatin1String("silent")) {
        const auto flag = ParseFlag(value);
        if (!flag)
            return fail(QStringLiteral("expected 1 or 0"));
        m_silent = *flag;
        return true;
    }
    if (key == QLatin1String("twice")) {
        const auto flag = ParseFlag(value);
        if (!flag)
            return fail(QStringLiteral("expected 1 or 0"));
        m_lineFaults.twice = *flag;
        return true;
    }
    if (key == QLatin1String("noise") && value.trimmed() == QLatin1String("off")) {
        m_lineFaults.noiseAfterMs = -1;
        return true;
    }
    if (key == QLatin1String("malformed")) {
        const auto kind = MalformedFromName(value.trimmed());
        if (!kind)
            return fail(QStringLiteral("unknown kind"));
        m_malformed = *kind;
        return true;
    }
    if (OverrideSetters().contains(key)) {
        if (value.trimmed().compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0) {
            m_overrides.remove(key);
            return true;
        }
        if (!number)
            return fail(QStringLiteral("expected a number or auto"));
        m_overrides.insert(key, *number);
        return true;
    }

    if (!number)
        return fail(QStringLiteral("expected a number"));
    const double v = *number;
    bool isRegister = false;
    const int reg = rawKey.trimmed().toInt(&isRegister);
    if (isRegister) {
        if (!IsWritable(reg))
            return fail(QStringLiteral("not a writable register"));
        if (v < -32768 || v > 65535)
            return fail(QStringLiteral("out of range"));
        WriteRegister(reg, static_cast<quint16>(static_cast<int>(v)));
        return true;
    }
    if (key == QLatin1String("battest")) {
        if (v < 0 || v > 65535)
            return fail(QStringLiteral("out of range"));
        WriteRegister(20003, static_cast<quint16>(v));
        return true;
    }
    const std::pair<const char *, std::pair<double *, std::pair<double, double>>> numbers[] = {
        {"mains", {&m_mains, {0, 1000}}},
        {"freq", {&m_freq, {0, 100}}},
        {"load", {&m_load, {0, 200}}},
        {"capacity", {&m_capacity, {0, 100}}},
        {"wobble", {&m_wobble, {0, 100}}},
        {"speed", {&m_speed, {0, 100000}}},
        {"softstart", {&m_softStartSeconds, {0, 3600}}},
    };
    for (const auto &[name, target] : numbers) {
        if (key != QLatin1String(name))
            continue;
        if (v < target.second.first || v > target.second.second)
            return fail(QStringLiteral("out of range"));
        *target.first = v;
        UpdateMode();
        return true;
    }
    if (key == QLatin1String("split") || key == QLatin1String("noise")) {
        if (v < 0 || v > 60000)
            return fail(QStringLiteral("out of range"));
        (key == QLatin1String("split") ? m_lineFaults.splitPauseMs : m_lineFaults.noiseAfterMs) = static_cast<int>(v);
        return true;
    }
    if (key == QLatin1String("answeras")) {
        if (v < 0 || v > 255)
            return fail(QStringLiteral("out of range"));
        m_lineFaults.answerAs = static_cast<int>(v);
        return true;
    }
    if (key == QLatin1String("delay")) {
        if (v < 0 || v > 60000)
            return fail(QStringLiteral("out of range"));
        m_replyDelayMs = static_cast<int>(v);
        return true;
    }
    return fail(QStringLiteral("unknown setting"));
}
