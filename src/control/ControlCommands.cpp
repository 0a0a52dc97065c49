#include "control/ControlCommands.h"

#include "app/MainCommandRules.h"
#include "protocol/TCommandQueue.h"

namespace ControlCommands {

void Queue(TCommandQueue &queue, std::uint8_t addr, std::uint32_t reg, std::int16_t value)
{
    // The register count of a single write means nothing; the slot keeps
    // whatever it held.
    queue.Queue(kSlot, addr, kWriteSingleRegister, reg, queue.Slots[kSlot].RegCount);
    queue.ControlValue = value;
}

bool QueueTest(TCommandQueue &queue, quint8 protocol, std::uint8_t addr, qint64 seconds)
{
    if (!ControlCommandsVisible(protocol))
        return false;
    Queue(queue, addr, kRegBatteryTest, static_cast<std::int16_t>(static_cast<std::uint16_t>(seconds)));
    return true;
}

std::optional<qint32> TestSeconds(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint32 seconds = text.toInt(&ok, 10);
    return ok ? seconds : 1;
}

QString TestTimeInvalidText()
{
    return QStringLiteral("[Battery Test Time] value is invalid");
}

} // namespace ControlCommands
