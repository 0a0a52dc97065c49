#include "service/NutInstCmds.h"

#include "app/MainCommandRules.h"
#include "control/ControlCommands.h"
#include "service/NutText.h"

namespace NutInstCmds {

namespace {

constexpr NutText::TNamedText kCommands[] = {
    {"load.off", "Turn off the load immediately"},
    {"load.on", "Turn on the load immediately"},
    {"test.battery.start", "Start a battery test; optional value: seconds (default 10)"},
    {"test.battery.stop", "Stop a running battery test"},
};

std::optional<qint64> TestSeconds(const std::optional<QByteArray> &value)
{
    if (!value)
        return kDefaultTestSeconds;
    bool ok = false;
    const qint64 seconds = value->toLongLong(&ok, 10);
    if (!ok || seconds < 1 || seconds > 0xFFFF)
        return std::nullopt;
    return seconds;
}

} // namespace

QByteArrayList Supported(quint8 protocol)
{
    QByteArrayList names;
    if (ControlCommandsVisible(protocol))
        for (const NutText::TNamedText &cmd : kCommands)
            names << QByteArray(cmd.Name);
    return names;
}

QString Description(QByteArrayView name)
{
    return NutText::TextNamed(kCommands, name);
}

std::optional<QByteArray> Queue(TCommandQueue &queue, quint8 protocol, std::uint8_t addr, QByteArrayView name,
                                const std::optional<QByteArray> &value)
{
    if (!Supported(protocol).contains(name.toByteArray()))
        return QByteArray("CMD-NOT-SUPPORTED");
    if (name == "test.battery.start") {
        const std::optional<qint64> seconds = TestSeconds(value);
        if (!seconds)
            return QByteArray("INVALID-VALUE");
        ControlCommands::QueueTest(queue, protocol, addr, *seconds);
        return std::nullopt;
    }
    // The other commands take no value; one given is a mistake worth saying.
    if (value)
        return QByteArray("INVALID-ARGUMENT");
    if (name == "test.battery.stop")
        ControlCommands::QueueTest(queue, protocol, addr, 0);
    else if (name == "load.off")
        ControlCommands::Queue(queue, addr, ControlCommands::kRegTurnOff, 1);
    else
        ControlCommands::Queue(queue, addr, ControlCommands::kRegTurnOn, 1);
    return std::nullopt;
}

} // namespace NutInstCmds
