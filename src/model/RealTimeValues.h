#pragma once

#include "model/BatteryFlow.h"
#include "model/UpsMode.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <optional>

struct TUpsInfo;

// Everything the real-time view shows of one device, worked out from its
// status record, so the view only copies values into its controls.
struct TRealTimeValues {
    std::array<double, 3> InputVolt{};   // gauges, phases A, B, C
    std::array<double, 3> OutputVolt{};
    std::array<double, 3> LoadPercent{}; // LED bars
    std::array<QString, 3> InputVoltText;  // "220.0 V"
    std::array<QString, 3> OutputVoltText;
    std::array<QString, 3> LoadPercentText; // "46 %"
    QString OutputFreqText;
    QString DcVoltText;
    QString BattBackupTimeText;
    QString BattCapacityText;

    UpsMode Mode = UpsMode::None;
    QString StateText;

    // Nothing for a supply code without a word: the row keeps its text.
    std::optional<QString> InputSupplyText;
    std::optional<QString> UpsSupplyText;

    QString CmmStateText; // "0100-0000"
    QString InvStateText;
    QString CmmAlarmText;
    QString InvAlarmText;
    QString UpsStateText; // "4(4)": state byte of the UPS and state code
    // The system words exist only in the Modbus and YD/T status blocks; the
    // group that shows them is narrower for the other protocols.
    bool SystemWordsShown = false;
    QString SysStateText;
    QString SysAlarmText;

    QStringList AlarmLines;
    BatteryFlow Flow;
};

TRealTimeValues RealTimeValuesOf(const TUpsInfo &rec, quint8 protocol, quint8 language);

// Width of the status-word group for the protocol.
int StatusWordGroupWidth(bool systemWordsShown);
