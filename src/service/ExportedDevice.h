#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <vector>

class TDeviceList;
class TUpsInfoTable;
struct TUpsInfo;

// One listed device as the HTTP side shows it.
struct TExportedDevice {
    int Addr = 0;
    QString Name;
    const TUpsInfo *Rec = nullptr;
    // The record's link state, or lost while the port is closed: nothing
    // polls then, and what the record holds is as old as the closing.
    std::uint8_t Link = 0;

    bool Online() const;
};

// The listed devices with a bus address, in list order. An address that a
// damaged list names twice is shown once, under its first entry, so no two
// series or tiles claim the same unit.
std::vector<TExportedDevice> ExportedDevices(const TDeviceList &devices, const TUpsInfoTable &records,
                                             bool portOpened);

// Which values a protocol fills; the others stay 0 in the record and are
// not shown as measured. ROrizu replies carry neither the battery charge
// nor the battery currents.
struct TFilledValues {
    bool BattCapacity = true;
    bool BattCurrents = true;
};
TFilledValues FilledValues(quint8 protocol);

// The active alarm codes of the record, each once, in list order.
std::vector<qint32> ActiveAlarmCodes(const TUpsInfo &rec);
