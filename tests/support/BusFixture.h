#pragma once

#include "model/TDeviceList.h"
#include "model/TUpsInfoTable.h"
#include "protocol/TBusContext.h"
#include "protocol/TCommDebug.h"
#include "protocol/TCommandQueue.h"
#include "protocol/TEngineState.h"
#include "protocol/TPollProtocol.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

// Fresh program-wide bus instances for one test.
struct BusFixture {
    TEngineState Engine;
    TUpsInfoTable UpsInfo;
    TDeviceList DeviceList;
    TCommandQueue CmdQueue;
    QString ModelName;
    TCommDebug Debug;

    TBusContext Context{Engine, UpsInfo, DeviceList, CmdQueue, ModelName, Debug};

    // Appends devices at these addresses to the list, in order.
    void AddDevices(std::initializer_list<std::uint8_t> addrs);
};

// Bytes as they stand in a frame buffer.
QByteArray Bytes(const std::uint8_t *data, int length);
// "01 04 75 30" style text of a frame, for readable failures.
QString HexOf(const QByteArray &frame);
// A Modbus read reply (function 3 or 4) carrying these register values, with its CRC.
QByteArray ModbusReadReply(std::uint8_t addr, std::uint8_t funcCode,
                           const std::vector<std::uint16_t> &values);
// Any frame body followed by its CRC.
QByteArray WithCrc(QByteArray body);
// Decodes a block from a heap buffer of exactly its size, so that a read
// past its end is caught by the address sanitizer.
bool DecodeBlock(TPollProtocol &protocol, const QByteArray &block);
// The valid part of a record's alarm list.
std::vector<std::int32_t> AlarmCodes(const TUpsInfo &rec);
// An ASCII reply frame: "~", version, address, CID1 2A, RTN, the LENGTH of
// info, info, CHKSUM and a carriage return.
QByteArray AsciiReply(std::uint8_t version, std::uint8_t addr, const QByteArray &info,
                      std::uint8_t rtn = 0);
// An INFO of `length` characters, all "0" but for the texts placed at their
// frame positions (INFO starts at frame position 13).
QByteArray AsciiInfo(int length, const std::vector<std::pair<int, QByteArray>> &fields);
