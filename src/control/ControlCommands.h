#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>

class TCommandQueue;

// The control commands of the battery test and remote on/off windows. Both
// share one slot, so a command still waiting is replaced by the next one;
// the parameter writes use the slots before it and go out first.
namespace ControlCommands {

constexpr int kSlot = 1;
constexpr std::uint8_t kWriteSingleRegister = 6;
constexpr std::uint32_t kRegTurnOn = 20001;
constexpr std::uint32_t kRegTurnOff = 20002;
constexpr std::uint32_t kRegBatteryTest = 20003; // seconds; 0 cancels a running test

// Queues a write of `value` to a control register of the device at addr.
// The value is read by the Modbus master when it builds the frame.
void Queue(TCommandQueue &queue, std::uint8_t addr, std::uint32_t reg, std::int16_t value);

// The battery test of `seconds` (low 16 bits sent), under a Modbus protocol
// only; returns whether it was queued.
bool QueueTest(TCommandQueue &queue, quint8 protocol, std::uint8_t addr, qint64 seconds);

// The seconds of the test time box: nothing for an empty box, 1 for text
// that is not a 32-bit integer.
std::optional<qint32> TestSeconds(const QString &text);

// The message for an empty test time, the same in both languages.
QString TestTimeInvalidText();

} // namespace ControlCommands
