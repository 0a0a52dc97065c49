#include "model/TDeviceSelection.h"

#include "model/TDeviceList.h"

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
    FSelDevAddr = list.At(FSelDevPos)->Addr;
    FidxSelNode = TDeviceList::TreeIndexOf(FSelDevPos);
}

void TDeviceSelection::SelectNode(const TDeviceList &list, int treeIndex)
{
    FidxSelNode = treeIndex;
    FSelDevPos = list.PositionOfTreeIndex(treeIndex);
    const TDeviceNode *device = list.At(FSelDevPos);
    FSelDevAddr = device != nullptr ? device->Addr : 0;
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
