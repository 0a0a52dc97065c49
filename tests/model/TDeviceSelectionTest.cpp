#include "model/TDeviceSelection.h"

#include "model/TDeviceList.h"

#include <gtest/gtest.h>

namespace {

TDeviceList ListOf(std::initializer_list<quint8> addrs)
{
    TDeviceList list;
    for (quint8 addr : addrs)
        list.AddDevice(TDeviceNode::Make(addr, QString::number(addr)));
    return list;
}

void ExpectSelected(const TDeviceSelection &s, qint32 node, qint32 position, quint8 addr)
{
    EXPECT_EQ(s.FidxSelNode, node);
    EXPECT_EQ(s.FSelDevPos, position);
    EXPECT_EQ(s.GetSelDevAddr(), addr);
}

TEST(TDeviceSelection, RebuildSelectsTheFirstDeviceOrNothing)
{
    TDeviceSelection selection;
    selection.AfterRebuild(ListOf({}));
    ExpectSelected(selection, -1, 0, 0);
    selection.AfterRebuild(ListOf({7, 8}));
    ExpectSelected(selection, 0, 1, 7);
}

TEST(TDeviceSelection, ADeviceWithoutABusAddressIsSelectedAsNone)
{
    const TDeviceList list = ListOf({253, 0, 4});
    TDeviceSelection selection;
    selection.AfterRebuild(list);
    ExpectSelected(selection, 0, 1, 0);
    selection.SelectNode(list, TDeviceList::TreeIndexOf(2));
    ExpectSelected(selection, TDeviceList::TreeIndexOf(2), 2, 0);
    selection.SelectNode(list, TDeviceList::TreeIndexOf(3));
    ExpectSelected(selection, TDeviceList::TreeIndexOf(3), 3, 4);
}

TEST(TDeviceSelection, DeleteSelectsTheDeviceThatTakesThePlace)
{
    const struct { int selectedPos; qint32 node; qint32 position; quint8 addr; } cases[] = {
        {2, 3, 2, 30}, // the third moves up
        {3, 3, 2, 20}, // the new last one
    };
    for (const auto &c : cases) {
        TDeviceList list = ListOf({10, 20, 30});
        TDeviceSelection selection;
        selection.SelectNode(list, TDeviceList::TreeIndexOf(c.selectedPos));
        selection.DeleteSelectedDevice(list);
        ExpectSelected(selection, c.node, c.position, c.addr);
    }

    TDeviceList only = ListOf({10});
    TDeviceSelection selection;
    selection.AfterRebuild(only);
    selection.DeleteSelectedDevice(only);
    EXPECT_EQ(only.Count(), 0);
    ExpectSelected(selection, -1, 0, 0);
}

TEST(TDeviceSelection, DeleteRemovesOnlyTheSelectedEntryOfASharedAddress)
{
    TDeviceList list = ListOf({10, 20, 10});
    TDeviceSelection selection;
    selection.SelectNode(list, TDeviceList::TreeIndexOf(1));
    selection.DeleteSelectedDevice(list);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(1)->Addr, 20);
    EXPECT_EQ(list.At(2)->Addr, 10);
}

TEST(TDeviceSelection, ChildNodeSelectsItsDevice)
{
    const TDeviceList list = ListOf({10, 20});
    TDeviceSelection selection;
    selection.SelectNode(list, 5); // "Graph" of the second device
    ExpectSelected(selection, 5, 2, 20);
    EXPECT_EQ(selection.SelectedDeviceTreeIndex(), 3);

    selection.SelectNode(list, 6); // beyond the list
    ExpectSelected(selection, 6, 0, 0);
}

TEST(TDeviceSelection, DevicesBeyondTheByteIndexCanBeSelected)
{
    TDeviceList list;
    for (int i = 1; i <= 252; ++i)
        list.AddDevice(TDeviceNode::Make(static_cast<quint8>(i), QString::number(i)));
    TDeviceSelection selection;
    selection.SelectNode(list, TDeviceList::TreeIndexOf(120) + 1);
    ExpectSelected(selection, 358, 120, 120);
    EXPECT_EQ(selection.SelectedDeviceTreeIndex(), 357);

    selection.DeleteSelectedDevice(list);
    ExpectSelected(selection, 357, 120, 121);
}

} // namespace
