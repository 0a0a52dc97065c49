#include "service/MetricsText.h"

#include "app/TSettings.h"
#include "model/TDeviceList.h"
#include "model/TUpsInfoTable.h"
#include "protocol/TCommDebug.h"
#include "protocol/TEngineState.h"
#include "model/CodeTexts.h"
#include "service/ExportedDevice.h"
#include "service/THttpData.h"
#include "service/TMetricsWriter.h"

#include <functional>

namespace {

using TLabels = TMetricsWriter::TLabels;

const char *const kPhaseNames[3] = {"A", "B", "C"};

TLabels DeviceLabels(const TExportedDevice &device)
{
    return {{"address", QString::number(device.Addr)}, {"name", device.Name}};
}

TLabels With(TLabels labels, const char *name, const QString &value)
{
    labels.emplace_back(name, value);
    return labels;
}

// One metric with a sample per online device; a value the protocol does
// not fill gets its HELP and TYPE but no sample.
void PerOnlineDevice(TMetricsWriter &out, const std::vector<TExportedDevice> &devices, const char *name,
                     const char *help, const std::function<double(const TUpsInfo &)> &value,
                     bool filled = true)
{
    out.Family(name, "gauge", help);
    for (const TExportedDevice &device : devices)
        if (filled && device.Online())
            out.Sample(DeviceLabels(device), value(*device.Rec));
}

// One metric with a sample per phase of each online device.
void PerPhase(TMetricsWriter &out, const std::vector<TExportedDevice> &devices, const char *name,
              const char *help, const std::function<double(const TUpsInfo &, int)> &value)
{
    out.Family(name, "gauge", help);
    for (const TExportedDevice &device : devices) {
        if (!device.Online())
            continue;
        const TLabels labels = DeviceLabels(device);
        for (int phase = 0; phase < 3; ++phase)
            out.Sample(With(labels, "phase", QString::fromLatin1(kPhaseNames[phase])), value(*device.Rec, phase));
    }
}

void DeviceMetrics(TMetricsWriter &out, const std::vector<TExportedDevice> &devices, quint8 protocol,
                   quint8 language)
{
    out.Family("orvan_link_state", "gauge", "Link to the unit: 0 online, 1 communication error, 2 communication lost.");
    for (const TExportedDevice &device : devices)
        out.Sample(DeviceLabels(device), static_cast<double>(device.Link));

    PerOnlineDevice(out, devices, "orvan_state",
                    "Operating-state code of the unit (1 Standby to 11 Fault, -1 while none is known).",
                    [](const TUpsInfo &rec) { return static_cast<double>(rec.State); });

    out.Family("orvan_alarm_active", "gauge", "1 for each alarm the unit has active, by alarm code and its text.");
    for (const TExportedDevice &device : devices) {
        if (!device.Online())
            continue;
        for (const qint32 code : ActiveAlarmCodes(*device.Rec))
            out.Sample(With(With(DeviceLabels(device), "code", QString::number(code)), "text",
                            GetAlarmText(code, language)),
                       1.0);
    }
    PerOnlineDevice(out, devices, "orvan_alarms", "Number of alarms the unit has active.",
                    [](const TUpsInfo &rec) { return static_cast<double>(ActiveAlarmCodes(rec).size()); });

    PerPhase(out, devices, "orvan_input_voltage_volts", "Input voltage by phase.",
             [](const TUpsInfo &rec, int phase) { return rec.InputVolt[phase]; });
    PerPhase(out, devices, "orvan_output_voltage_volts", "Output voltage by phase.",
             [](const TUpsInfo &rec, int phase) { return rec.OutputVolt[phase]; });
    PerPhase(out, devices, "orvan_load_ratio", "Load by phase, 1 being full load.",
             [](const TUpsInfo &rec, int phase) { return rec.LoadPercent[phase] / 100.0; });
    PerOnlineDevice(out, devices, "orvan_output_frequency_hertz", "Output frequency.",
                    [](const TUpsInfo &rec) { return rec.OutputFreq; });
    PerOnlineDevice(out, devices, "orvan_dc_voltage_volts", "DC (battery bus) voltage.",
                    [](const TUpsInfo &rec) { return rec.DcVolt; });

    const TFilledValues filled = FilledValues(protocol);
    PerOnlineDevice(out, devices, "orvan_battery_charge_ratio", "Battery capacity, 1 being full.",
                    [](const TUpsInfo &rec) { return rec.BattCapacity / 100.0; }, filled.BattCapacity);
    PerOnlineDevice(out, devices, "orvan_battery_runtime_seconds", "Battery support time.",
                    [](const TUpsInfo &rec) { return rec.BattBackupTime * 60.0; });
    PerOnlineDevice(out, devices, "orvan_battery_charge_current_amperes",
                    "Battery charge current, both battery groups together.",
                    [](const TUpsInfo &rec) { return rec.ChargeCurrent; }, filled.BattCurrents);
    PerOnlineDevice(out, devices, "orvan_battery_discharge_current_amperes",
                    "Battery discharge current, both battery groups together.",
                    [](const TUpsInfo &rec) { return rec.DischargeCurrent; }, filled.BattCurrents);

    out.Family("orvan_last_reply_timestamp_seconds", "gauge",
               "Time of the unit's last valid reply, in seconds since 1970 (UTC); absent before the first.");
    for (const TExportedDevice &device : devices)
        if (device.Rec->LastReplyMs > 0)
            out.Sample(DeviceLabels(device), device.Rec->LastReplyMs / 1000.0);
}

void BusMetrics(TMetricsWriter &out, const THttpData &data, bool portOpened, bool linkUp)
{
    out.Family("orvan_bus_frames_sent_total", "counter", "Frames sent on the bus.");
    out.Sample({}, data.Debug.FramesSentTotal);
    out.Family("orvan_bus_replies_valid_total", "counter", "Replies the protocol decoder accepted.");
    out.Sample({}, data.Debug.RepliesValidTotal);
    out.Family("orvan_bus_replies_invalid_total", "counter", "Received blocks the protocol decoder rejected.");
    out.Sample({}, data.Debug.RepliesInvalidTotal);
    out.Family("orvan_bus_round_seconds", "gauge", "Duration of the last full round over the device list.");
    if (data.Engine.LastRoundMs >= 0)
        out.Sample({}, data.Engine.LastRoundMs / 1000.0);
    out.Family("orvan_port_open", "gauge", "1 while the port is open (a network port also while it reconnects).");
    out.Sample({}, portOpened ? 1.0 : 0.0);
    out.Family("orvan_port_link_up", "gauge",
               "1 while the bus can be reached: the serial port is open, or a network port is connected.");
    out.Sample({}, linkUp ? 1.0 : 0.0);
}

} // namespace

QByteArray MetricsText(const THttpData &data)
{
    const bool portOpened = data.PortOpened();
    const std::vector<TExportedDevice> devices = ExportedDevices(data.DeviceList, data.UpsInfo, portOpened);
    TMetricsWriter out;
    DeviceMetrics(out, devices, data.Settings.PortInfo.Protocol, data.Settings.Language);
    BusMetrics(out, data, portOpened, portOpened && data.LinkUp());
    return out.Text();
}
