#include "service/ExportedDevice.h"

#include "model/TDeviceList.h"
#include "model/TUpsInfoTable.h"

#include <algorithm>
#include <bitset>

namespace {

constexpr quint8 kProtocolRorizu = 1;

} // namespace

bool TExportedDevice::Online() const
{
    return Link == kLinkOnline;
}

std::vector<TExportedDevice> ExportedDevices(const TDeviceList &devices, const TUpsInfoTable &records,
                                             bool portOpened)
{
    std::vector<TExportedDevice> out;
    std::bitset<TUpsInfoTable::kSize> seen;
    for (int position = 1; position <= devices.Count(); ++position) {
        const TDeviceNode *node = devices.At(position);
        if (!node->HasBusAddress() || seen.test(node->Addr))
            continue;
        seen.set(node->Addr);
        const TUpsInfo &rec = records[node->Addr];
        out.push_back({node->Addr, node->NameText(), &rec, portOpened ? rec.LinkState : std::uint8_t{kLinkLost}});
    }
    return out;
}

TFilledValues FilledValues(quint8 protocol)
{
    if (protocol == kProtocolRorizu)
        return {false, false};
    return {};
}

std::vector<qint32> ActiveAlarmCodes(const TUpsInfo &rec)
{
    std::vector<qint32> codes;
    const int count = std::min<int>(rec.AlarmCount, kAlarmListSize);
    for (int i = 0; i < count; ++i)
        if (std::find(codes.begin(), codes.end(), rec.AlarmList[i]) == codes.end())
            codes.push_back(rec.AlarmList[i]);
    return codes;
}
