#include "app/SoftwareParaChoices.h"

#include "app/TSettings.h"
#include "model/TextLanguage.h"
#include "serial/ComPortName.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <QSet>

namespace {

const char *const kBaudRates[] = {"2400", "4800", "9600"};

QString ComName(int number)
{
    return QStringLiteral("COM%1").arg(number);
}

} // namespace

QStringList PortListItems(const QString &storedComName, const QStringList &systemDevices)
{
    QStringList items;
    QSet<QString> comDevices;
    for (int number = 1; number <= kComPortCount; ++number) {
        items << ComName(number);
        comDevices.insert(SystemPortName(ComName(number)));
    }
    for (const QString &device : systemDevices) {
        if (!comDevices.contains(device) && !items.contains(device))
            items << device;
    }
    if (!storedComName.isEmpty() && !items.contains(storedComName))
        items << storedComName;
    return items;
}

QStringList BaudListItems(qint32 storedBaudRate)
{
    QStringList items;
    for (const char *rate : kBaudRates)
        items << QLatin1String(rate);
    const QString stored = QString::number(storedBaudRate);
    if (storedBaudRate > 0 && !items.contains(stored))
        items << stored;
    return items;
}

int ItemIndex(const QStringList &items, const QString &text)
{
    return std::max(0, static_cast<int>(items.indexOf(text)));
}

qint32 BaudRateFromText(const QString &text)
{
    bool ok = false;
    const qint32 rate = text.toInt(&ok);
    return ok ? rate : 2400;
}

QStringList PollModeItems(bool chinese)
{
    return {LanguageText(chinese, "固定节拍", "Fixed pace"), LanguageText(chinese, "总线节拍", "Pace of the bus")};
}

int PollModeIndex(quint8 pollMode)
{
    return pollMode == 1 ? 1 : 0;
}

QStringList SystemSerialDevices()
{
    QStringList devices;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts())
        devices << port.systemLocation();
    devices.sort();
    return devices;
}

QStringList ProtocolListItems()
{
    return {QStringLiteral("YD/T V3.1"), QStringLiteral("ROrizu"), QStringLiteral("Modbus")};
}

int ProtocolItemIndex(quint8 protocol)
{
    switch (protocol) {
    case 0: return 0;
    case 1: return 1;
    case 2:
    case 3: return 2;
    default: return -1;
    }
}

quint8 ProtocolFromItem(int index, quint8 stored)
{
    if (index < 0 || index >= ProtocolListItems().size() || index == ProtocolItemIndex(stored))
        return stored;
    return static_cast<quint8>(index);
}

QString SoftwareChoicesProblem(const TSoftwareChoices &choices, quint8 language)
{
    const bool zh = IsChineseLanguage(language);
    const QString name = choices.ComName.trimmed();
    const QString problem = PortNameProblem(name);
    if (!problem.isEmpty())
        return LanguageText(zh, "端口应为 COMn、设备路径、tcp://主机:端口 或 modbus-tcp://主机:端口。\n",
                            "The port is COMn, a device path, tcp://HOST:PORT or modbus-tcp://HOST:PORT.\n")
               + problem;
    QString error;
    const std::optional<TNetworkAddress> address = ParseNetworkPortName(name, &error);
    const int modbusItem = ProtocolItemIndex(2);
    if (address && address->Kind == TNetworkKind::ModbusTcp && choices.ProtocolIndex != modbusItem)
        return LanguageText(zh, "Modbus TCP 只能使用 Modbus 协议；其他协议请用 tcp://主机:端口。",
                            "Modbus TCP carries the Modbus protocol only; for another protocol use tcp://HOST:PORT.");
    return {};
}

void ApplySoftwareChoices(TSettings &settings, const TSoftwareChoices &choices)
{
    TPortInfo &port = settings.PortInfo;
    port.ComName = choices.ComName.trimmed();
    port.BaudRate = BaudRateFromText(choices.BaudText);
    port.Protocol = ProtocolFromItem(choices.ProtocolIndex, port.Protocol);
    port.AutoStart = choices.AutoStart;
    port.PollMode = choices.PollModeIndex == 1 ? 1 : 0;
}
