#include "model/RealTimeValues.h"

#include "model/CodeTexts.h"
#include "model/RealTimeViewTexts.h"
#include "model/TUpsInfo.h"
#include "model/UpsInfoRules.h"
#include "model/ValueFormat.h"
#include "serial/HexHelpers.h"

namespace {

QString Hex(quint16 word)
{
    return QString::fromLatin1(WordToHex4(word));
}

QString WordPair(quint16 first, quint16 second)
{
    return Hex(first) + QLatin1Char('-') + Hex(second);
}

std::optional<QString> InputSupplyText(quint8 code, const TSupplyTexts &texts)
{
    switch (code) {
    case 0: return texts.NoSupply;
    case 1: return texts.Mains;
    case 2: return texts.Battery;
    default: return std::nullopt;
    }
}

std::optional<QString> UpsSupplyText(quint8 code, qint32 workMode, const TSupplyTexts &texts)
{
    switch (code) {
    case 0: return texts.NoSupply;
    case 1: return texts.Inverter;
    case 2: return workMode == 1 ? texts.Eco : texts.Bypass;
    default: return std::nullopt;
    }
}

bool HasSystemWords(quint8 protocol)
{
    return protocol == 0 || protocol == 2;
}

} // namespace

TRealTimeValues RealTimeValuesOf(const TUpsInfo &rec, quint8 protocol, quint8 language)
{
    TRealTimeValues v;
    for (int phase = 0; phase < 3; ++phase) {
        v.InputVolt[phase] = rec.InputVolt[phase];
        v.OutputVolt[phase] = rec.OutputVolt[phase];
        v.LoadPercent[phase] = rec.LoadPercent[phase];
        v.InputVoltText[phase] = FormatVoltage(rec.InputVolt[phase]);
        v.OutputVoltText[phase] = FormatVoltage(rec.OutputVolt[phase]);
        v.LoadPercentText[phase] = FormatLoadPercent(rec.LoadPercent[phase]);
    }
    v.OutputFreqText = FormatFixed(rec.OutputFreq, 1);
    v.DcVoltText = FormatFixed(rec.DcVolt, 1);
    // The support time is an unsigned minute count on the wire.
    v.BattBackupTimeText = QString::number(static_cast<quint16>(rec.BattBackupTime));
    v.BattCapacityText = QString::number(rec.BattCapacity);

    v.Mode = ModeForState(rec.State);
    v.StateText = GetStateText(rec.State == kStateUnknown ? kStateLinkDown : rec.State, language);

    const TSupplyTexts supply = SupplyTexts(language);
    v.InputSupplyText = InputSupplyText(rec.InputSupply, supply);
    v.UpsSupplyText = UpsSupplyText(rec.UpsSupply, rec.Para.WorkMode, supply);

    v.CmmStateText = WordPair(rec.CmmState1, rec.CmmState2);
    v.InvStateText = WordPair(rec.InvState1, rec.InvState2);
    v.CmmAlarmText = WordPair(rec.CmmAlarm1, rec.CmmAlarm2);
    v.InvAlarmText = WordPair(rec.InvAlarm1, rec.InvAlarm2);
    v.UpsStateText = QString::number(rec.UpsStateCode) + QLatin1Char('(') + QString::number(rec.State)
                     + QLatin1Char(')');
    v.SystemWordsShown = HasSystemWords(protocol);
    if (v.SystemWordsShown) {
        v.SysStateText = Hex(rec.SysState);
        v.SysAlarmText = Hex(rec.SysAlarm);
    }

    const int alarms = std::min<int>(rec.AlarmCount, kAlarmListSize);
    for (int i = 0; i < alarms; ++i) {
        const QString text = GetAlarmText(rec.AlarmList[static_cast<size_t>(i)], language);
        if (!text.isEmpty())
            v.AlarmLines << text;
    }

    BatteryFlowInput flow;
    flow.linkState = rec.LinkState;
    flow.protocol = protocol;
    flow.state = rec.State;
    flow.cmmState1 = rec.CmmState1;
    flow.cmmAlarm2 = rec.CmmAlarm2;
    flow.chargeCurrent = rec.ChargeCurrent;
    flow.dischargeCurrent = rec.DischargeCurrent;
    v.Flow = BatteryFlowFor(flow);
    return v;
}

int StatusWordGroupWidth(bool systemWordsShown)
{
    return systemWordsShown ? 222 : 170;
}
