#include "service/DeviceJson.h"

#include "app/TSettings.h"
#include "model/TDeviceList.h"
#include "model/TUpsInfoTable.h"
#include "log/TEventLogModel.h"
#include "model/CodeTexts.h"
#include "model/DeviceNodeLook.h"
#include "service/ExportedDevice.h"
#include "service/THttpData.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <functional>

namespace {

constexpr quint8 kEnglish = 0;
constexpr quint8 kChinese = 1;

QJsonObject BothLanguages(const std::function<QString(quint8)> &text)
{
    return {{"en", text(kEnglish)}, {"zh", text(kChinese)}};
}

QJsonArray Phases(const double (&values)[3])
{
    return {values[0], values[1], values[2]};
}

// The look of the device's tree node, for the colour of its tile.
QString LookName(const TExportedDevice &device, bool portOpened)
{
    switch (DeviceNodeLook(device.Name, *device.Rec, portOpened, kEnglish).Icon) {
    case kIconOnline: return QStringLiteral("online");
    case kIconAlarm: return QStringLiteral("alarm");
    default: return QStringLiteral("offline");
    }
}

QJsonValue Values(const TUpsInfo &rec, const TFilledValues &filled)
{
    return QJsonObject{
        {"inputVoltage", Phases(rec.InputVolt)},
        {"outputVoltage", Phases(rec.OutputVolt)},
        {"loadPercent", Phases(rec.LoadPercent)},
        {"outputFrequency", rec.OutputFreq},
        {"dcVoltage", rec.DcVolt},
        {"batteryCapacityPercent", filled.BattCapacity ? QJsonValue(rec.BattCapacity) : QJsonValue()},
        {"batteryRuntimeMinutes", rec.BattBackupTime},
        {"chargeCurrent", filled.BattCurrents ? QJsonValue(rec.ChargeCurrent) : QJsonValue()},
        {"dischargeCurrent", filled.BattCurrents ? QJsonValue(rec.DischargeCurrent) : QJsonValue()},
    };
}

QJsonArray Alarms(const TUpsInfo &rec)
{
    QJsonArray alarms;
    for (const qint32 code : ActiveAlarmCodes(rec))
        alarms.append(QJsonObject{{"code", code},
                                  {"text", BothLanguages([code](quint8 language) { return GetAlarmText(code, language); })}});
    return alarms;
}

QJsonValue UtcTime(std::int64_t msSinceEpoch)
{
    if (msSinceEpoch <= 0)
        return QJsonValue();
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch, Qt::UTC).toString(Qt::ISODateWithMs);
}

QJsonObject DeviceObject(const TExportedDevice &device, bool portOpened, const TFilledValues &filled)
{
    const TUpsInfo &rec = *device.Rec;
    const bool online = device.Online();
    return {
        {"address", device.Addr},
        {"name", device.Name},
        {"link", device.Link},
        {"look", LookName(device, portOpened)},
        {"state", online ? QJsonValue(rec.State) : QJsonValue()},
        {"stateText", BothLanguages([&](quint8 language) { return DeviceStatusText(rec, portOpened, language); })},
        {"values", online ? Values(rec, filled) : QJsonValue()},
        {"alarms", online ? Alarms(rec) : QJsonArray()},
        {"lastReply", UtcTime(rec.LastReplyMs)},
    };
}

QString NameAt(const TDeviceList &devices, int addr)
{
    for (int position = 1; position <= devices.Count(); ++position)
        if (devices.At(position)->Addr == addr)
            return devices.At(position)->NameText();
    return QString();
}

} // namespace

QByteArray DevicesJson(const THttpData &data)
{
    const bool portOpened = data.PortOpened();
    const TFilledValues filled = FilledValues(data.Settings.PortInfo.Protocol);
    QJsonArray devices;
    for (const TExportedDevice &device : ExportedDevices(data.DeviceList, data.UpsInfo, portOpened))
        devices.append(DeviceObject(device, portOpened, filled));
    const QJsonObject root{
        {"time", UtcTime(QDateTime::currentMSecsSinceEpoch())},
        {"language", data.Settings.IsChinese() ? QStringLiteral("zh") : QStringLiteral("en")},
        {"portOpen", portOpened},
        {"linkUp", portOpened && data.LinkUp()},
        {"devices", devices},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

QByteArray EventsJson(const std::vector<TEventRec> &records, const TDeviceList &devices, int limit)
{
    QJsonArray events;
    for (auto it = records.rbegin(); it != records.rend() && events.size() < limit; ++it) {
        const TEventRec &rec = *it;
        const QJsonObject text = BothLanguages([&rec](quint8 language) { return TEventLogModel::EventText(rec, language); });
        if (text.value("en").toString().isEmpty())
            continue; // the viewer lists no row for it either
        events.append(QJsonObject{
            {"time", FormatDateTime(rec.Time)},
            {"address", rec.Addr},
            {"name", NameAt(devices, rec.Addr)},
            {"kind", rec.Kind},
            {"code", rec.Code},
            {"flag", rec.Flag},
            {"text", text},
        });
    }
    return QJsonDocument(QJsonObject{{"events", events}}).toJson(QJsonDocument::Compact);
}
