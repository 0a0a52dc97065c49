#include "model/TDeviceSelection.h"

#include "model/TDeviceList.h"

namespace {

// A device that cannot be polled is selected as none: no window shows a
// record of it and no command is addressed to it.
quint8 AddressOf(const TDeviceNode *device)
{
    return device != nullptr && device->HasBusAddress() ? device->Addr : 0;
}

} // namespace

void TDeviceSelection::AfterRebuild(const TDeviceList &list)
{
    if (list.Count() == 0) {
        FSelDevPos = 0;
        FSelDevAddr = 0;
        FidxSelNode = -1;
        return;
    }
    if (FSelDevPos <= 0)
        FSelDevPos = 1;
    if (FSelDevPos > list.Count())
        FSelDevPos = list.Count();
    FSelDevAddr = AddressOf(list.At(FSelDevPos));
    FidxSelNode = TDeviceList::TreeIndexOf(FSelDevPos);
}

void TDeviceSelection::SelectNode(const TDeviceList &list, int treeIndex)
{
    FidxSelNode = treeIndex;
    FSelDevPos = list.PositionOfTreeIndex(treeIndex);
    const TDeviceNode *device = list.At(FSelDevPos);
    FSelDevAddr = AddressOf(device);
}

int TDeviceSelection::SelectedDeviceTreeIndex() const
{
    return FidxSelNode < 0 ? -1 : TDeviceList::DeviceTreeIndex(FidxSelNode);
}

void TDeviceSelection::DeleteSelectedDevice(TDeviceList &list)
{
    list.RemoveAt(FSelDevPos);
    AfterRebuild(list);
}
