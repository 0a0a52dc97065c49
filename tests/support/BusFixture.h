#pragma once

#include "model/TDeviceList.h"
#include "model/TUpsInfoTable.h"
#include "protocol/TBusContext.h"
#include "protocol/TCommDebug.h"
#include "protocol/TCommandQueue.h"
#include "protocol/TEngineState.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <initializer_list>
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
