#include "service/NutVariables.h"

#include "model/CodeTexts.h"
#include "model/TUpsInfo.h"
#include "model/UpsInfoRules.h"
#include "service/NutText.h"

#include <QByteArrayList>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace NutVariables {

namespace {

constexpr quint8 kEnglish = 0;

// Alarm codes by what they say about the unit, across the three protocol
// families (Modbus and YD/T words, ROrizu items).
constexpr std::initializer_list<qint32> kLowBatteryAlarms = {21, 23, 67, 206, 209};
constexpr std::initializer_list<qint32> kOverloadAlarms = {51, 52, 119, 120, 121};
constexpr std::initializer_list<qint32> kReplaceBatteryAlarms = {64, 144};

bool HasAlarm(const TUpsInfo &rec, std::initializer_list<qint32> codes)
{
    const auto end = rec.AlarmList.begin() + std::min<int>(rec.AlarmCount, kAlarmListSize);
    return std::any_of(rec.AlarmList.begin(), end, [codes](qint32 code) {
        return std::find(codes.begin(), codes.end(), code) != codes.end();
    });
}

bool IsModbus(quint8 protocol)
{
    return protocol == 2 || protocol == 3;
}

// The ROrizu replies carry no battery charge and no battery currents.
bool ReportsBatteryCharge(quint8 protocol)
{
    return protocol != 1;
}

int PhaseCount(bool threePhase)
{
    return threePhase ? 3 : 1;
}

bool OnBattery(const TUpsInfo &rec)
{
    // A battery test runs on the battery on purpose, with the mains there.
    return rec.State == kStateBattery || (rec.InputSupply == 2 && rec.State != kStateBattSelfTest && rec.BattTestFlag == 0);
}

bool InBatteryTest(const TUpsInfo &rec)
{
    return rec.State == kStateBattSelfTest || rec.BattTestFlag != 0;
}

bool OutputOff(const TUpsInfo &rec)
{
    return rec.State == kStateStandby || rec.State == kStateNonOutput || rec.State == kStateEpo;
}

bool Overloaded(const TUpsInfo &rec, const TUnitFacts &facts)
{
    for (int phase = 0; phase < PhaseCount(facts.Phases.Load); ++phase)
        if (rec.LoadPercent[phase] > 100.0)
            return true;
    return HasAlarm(rec, kOverloadAlarms);
}

// A full battery on float still takes a little current; that is no charging.
bool Charging(const TUpsInfo &rec, const TUnitFacts &facts)
{
    return ReportsBatteryCharge(facts.Protocol) && rec.ChargeCurrent > 0 && rec.BattCapacity < 100;
}

int RuntimeSeconds(const TUpsInfo &rec)
{
    return rec.BattBackupTime * 60;
}

bool LowBattery(const TUpsInfo &rec, const TUnitFacts &facts)
{
    if (HasAlarm(rec, kLowBatteryAlarms))
        return true;
    // A runtime of 0 is what a record holds after its link was lost, until
    // the battery reply comes in; the unit's own alarm covers a truly empty
    // battery.
    return OnBattery(rec) && rec.BattBackupTime > 0 && RuntimeSeconds(rec) < facts.LowRuntime;
}

void Add(std::vector<TVariable> &out, const char *name, const QByteArray &value, bool isNumber = true)
{
    out.push_back(TVariable{QByteArray(name), value, isNumber});
}

void AddText(std::vector<TVariable> &out, const char *name, const QString &value)
{
    if (!value.isEmpty())
        Add(out, name, value.toUtf8(), false);
}

void AddNumber(std::vector<TVariable> &out, const QByteArray &name, double value, int decimals)
{
    if (std::isfinite(value))
        out.push_back(TVariable{name, QByteArray::number(value, 'f', decimals), true});
}

double Mean(const double *values, int count)
{
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += values[i];
    return sum / count;
}

// input.voltage and its phases, or output.voltage and its phases.
void AddVoltages(std::vector<TVariable> &out, const char *side, const double *volts, bool threePhase)
{
    const int phases = PhaseCount(threePhase);
    AddNumber(out, QByteArray(side) + ".voltage", Mean(volts, phases), 1);
    if (!threePhase)
        return;
    for (int phase = 0; phase < phases; ++phase)
        AddNumber(out, QByteArray(side) + ".L" + QByteArray::number(phase + 1) + "-N.voltage", volts[phase], 1);
}

void AddLoads(std::vector<TVariable> &out, const TUpsInfo &rec, bool threePhase)
{
    const int phases = PhaseCount(threePhase);
    // The fullest phase is the one that trips first.
    AddNumber(out, "ups.load", *std::max_element(rec.LoadPercent, rec.LoadPercent + phases), 0);
    if (!threePhase)
        return;
    for (int phase = 0; phase < phases; ++phase)
        AddNumber(out, "ups.L" + QByteArray::number(phase + 1) + ".load", rec.LoadPercent[phase], 0);
}

QString ProtocolName(quint8 protocol)
{
    switch (protocol) {
    case 0: return QStringLiteral("ydt-v3.1");
    case 1: return QStringLiteral("rorizu");
    case 2:
    case 3: return QStringLiteral("modbus-rtu");
    default: return {};
    }
}

constexpr NutText::TNamedText kDescriptions[] = {
    {"battery.charge", "Battery charge (percent)"},
    {"battery.current", "Battery current (A), positive while charging, negative while discharging"},
    {"battery.runtime", "Battery runtime (seconds)"},
    {"battery.runtime.low", "Runtime on battery below which the battery counts as low (seconds)"},
    {"battery.voltage", "Battery voltage (V)"},
    {"device.description", "Device name in the monitor's device list"},
    {"device.type", "Device type"},
    {"driver.name", "Program serving the unit"},
    {"driver.parameter.port", "Serial port of the bus"},
    {"driver.parameter.protocol", "Bus protocol"},
    {"driver.version", "Version of the program serving the unit"},
    {"input.L1-N.voltage", "Input voltage, phase L1 to neutral (V)"},
    {"input.L2-N.voltage", "Input voltage, phase L2 to neutral (V)"},
    {"input.L3-N.voltage", "Input voltage, phase L3 to neutral (V)"},
    {"input.voltage", "Input voltage (V), the mean of the phases"},
    {"output.L1-N.voltage", "Output voltage, phase L1 to neutral (V)"},
    {"output.L2-N.voltage", "Output voltage, phase L2 to neutral (V)"},
    {"output.L3-N.voltage", "Output voltage, phase L3 to neutral (V)"},
    {"output.frequency", "Output frequency (Hz)"},
    {"output.frequency.nominal", "Nominal output frequency (Hz)"},
    {"output.voltage", "Output voltage (V), the mean of the phases"},
    {"output.voltage.nominal", "Nominal output voltage (V)"},
    {"ups.L1.load", "Load on phase L1 (percent)"},
    {"ups.L2.load", "Load on phase L2 (percent)"},
    {"ups.L3.load", "Load on phase L3 (percent)"},
    {"ups.alarm", "Active alarms"},
    {"ups.id", "Bus address of the unit"},
    {"ups.load", "Load (percent), of the fullest phase"},
    {"ups.status", "UPS status"},
};

} // namespace

void TPhases::Note(const TUpsInfo &rec)
{
    Input = Input || rec.InputVolt[1] != 0 || rec.InputVolt[2] != 0;
    Output = Output || rec.OutputVolt[1] != 0 || rec.OutputVolt[2] != 0;
    Load = Load || Output || rec.LoadPercent[1] != 0 || rec.LoadPercent[2] != 0;
}

QByteArray StatusFlags(const TUpsInfo &rec, const TUnitFacts &facts)
{
    QByteArrayList flags;
    if (facts.ForcedShutdown)
        flags << "FSD";
    const bool onBattery = OnBattery(rec);
    if (onBattery)
        flags << "OB";
    else if (rec.InputSupply == 1 || !OutputOff(rec))
        flags << "OL";
    if (rec.State == kStateBypass || rec.State == kStateMaintBypass || rec.UpsSupply == 2)
        flags << "BYPASS";
    if (InBatteryTest(rec))
        flags << "CAL";
    if (OutputOff(rec))
        flags << "OFF";
    if (Overloaded(rec, facts))
        flags << "OVER";
    if (LowBattery(rec, facts))
        flags << "LB";
    if (HasAlarm(rec, kReplaceBatteryAlarms))
        flags << "RB";
    if (onBattery || InBatteryTest(rec))
        flags << "DISCHRG";
    else if (Charging(rec, facts))
        flags << "CHRG";
    if (!AlarmText(rec).isEmpty())
        flags << "ALARM";
    return flags.join(' ');
}

QString AlarmText(const TUpsInfo &rec)
{
    QStringList texts;
    for (int i = 0; i < std::min<int>(rec.AlarmCount, kAlarmListSize); ++i) {
        const QString text = GetAlarmText(rec.AlarmList[i], kEnglish);
        if (!text.isEmpty() && !texts.contains(text))
            texts << text;
    }
    return texts.join(QStringLiteral("; "));
}

std::vector<TVariable> Variables(const TUpsInfo &rec, const TUnitFacts &facts)
{
    std::vector<TVariable> out;
    const bool charge = ReportsBatteryCharge(facts.Protocol);
    if (charge) {
        Add(out, "battery.charge", QByteArray::number(rec.BattCapacity));
        AddNumber(out, "battery.current", rec.ChargeCurrent - rec.DischargeCurrent, 1);
    }
    if (rec.BattBackupTime >= 0)
        Add(out, "battery.runtime", QByteArray::number(RuntimeSeconds(rec)));
    Add(out, "battery.runtime.low", QByteArray::number(facts.LowRuntime));
    AddNumber(out, "battery.voltage", rec.DcVolt, 1);
    AddText(out, "device.description", facts.Description);
    AddText(out, "device.type", QStringLiteral("ups"));
    AddText(out, "driver.name", QStringLiteral("orvan"));
    AddText(out, "driver.parameter.port", facts.PortName);
    AddText(out, "driver.parameter.protocol", ProtocolName(facts.Protocol));
    AddText(out, "driver.version", facts.DriverVersion);
    AddVoltages(out, "input", rec.InputVolt, facts.Phases.Input);
    AddVoltages(out, "output", rec.OutputVolt, facts.Phases.Output);
    AddNumber(out, "output.frequency", rec.OutputFreq, 1);
    if (IsModbus(facts.Protocol) && rec.Para.FreqLevel > 0)
        Add(out, "output.frequency.nominal", QByteArray::number(rec.Para.FreqLevel));
    if (IsModbus(facts.Protocol) && rec.Para.VoltLevel > 0)
        Add(out, "output.voltage.nominal", QByteArray::number(rec.Para.VoltLevel));
    AddLoads(out, rec, facts.Phases.Load);
    AddText(out, "ups.alarm", AlarmText(rec));
    Add(out, "ups.id", QByteArray::number(rec.Addr), false);
    Add(out, "ups.status", StatusFlags(rec, facts), false);
    std::sort(out.begin(), out.end(), [](const TVariable &a, const TVariable &b) { return a.Name < b.Name; });
    return out;
}

QString Description(QByteArrayView name)
{
    return NutText::TextNamed(kDescriptions, name);
}

} // namespace NutVariables
