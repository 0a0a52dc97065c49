#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QByteArrayList>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>

class TCommandQueue;

// The instant commands of the NUT server: the battery test and remote
// on/off of the control windows, queued through the same command slot and
// registers, for units under a Modbus protocol only.
namespace NutInstCmds {

constexpr int kDefaultTestSeconds = 10;

// The commands a unit under this protocol offers, sorted; none outside Modbus.
QByteArrayList Supported(quint8 protocol);

// A few words on a command for GET CMDDESC; empty for an unknown one.
QString Description(QByteArrayView name);

// Queues a supported command for the unit at addr. value is the optional
// parameter (only test.battery.start takes one: seconds, 1 to 65535).
// Returns nothing when queued, else the NUT error word to answer.
std::optional<QByteArray> Queue(TCommandQueue &queue, quint8 protocol, std::uint8_t addr, QByteArrayView name,
                                const std::optional<QByteArray> &value);

} // namespace NutInstCmds
