#include "model/TDeviceList.h"

#include "support/FileBytes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>
#include <vector>

namespace {

class DeviceListFile : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString recordDir = dir.path();
    QString path = TDeviceList::FilePath(recordDir);
};

QByteArray Record(quint8 nodeIndex, quint8 addr, const QByteArray &name)
{
    QByteArray record;
    record.append(static_cast<char>(nodeIndex));
    record.append(static_cast<char>(addr));
    record.append(name.leftJustified(40, '\r', true));
    return record;
}

TDeviceList ListOf(const std::vector<quint8> &addrs)
{
    TDeviceList list;
    for (quint8 addr : addrs)
        list.AddDevice(TDeviceNode::Make(addr, QString::number(addr)));
    return list;
}

std::vector<quint8> Addresses(const TDeviceList &list)
{
    std::vector<quint8> addrs;
    for (int p = 1; p <= list.Count(); ++p)
        addrs.push_back(list.At(p)->Addr);
    return addrs;
}

TEST_F(DeviceListFile, SavedRecordsHoldTreeIndexAddressAndNameAndLoadBack)
{
    TDeviceList list;
    list.AddDevice(TDeviceNode::Make(5, u"Main"));
    list.AddDevice(TDeviceNode::Make(9, QStringLiteral(u"机房")));
    list.AddDevice(TDeviceNode::Make(2, u"Spare"));

    list.SaveDeviceList(recordDir);

    EXPECT_EQ(ReadFileBytes(path), Record(0, 5, "Main") + Record(3, 9, "\xBB\xFA\xB7\xBF") + Record(6, 2, "Spare"));

    TDeviceList loaded;
    loaded.LoadDeviceList(recordDir);
    EXPECT_EQ(Addresses(loaded), (std::vector<quint8>{5, 9, 2}));
    EXPECT_EQ(loaded.At(2)->NameText(), QStringLiteral(u"机房"));
}

TEST_F(DeviceListFile, LoadIgnoresPartialRecordAndStoredIndexes)
{
    WriteFileBytes(path, Record(77, 1, "A") + Record(77, 2, "B") + QByteArray(1, 'x')); // 85 bytes

    TDeviceList list;
    list.LoadDeviceList(recordDir);

    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(Addresses(list), (std::vector<quint8>{1, 2}));
    EXPECT_EQ(list.At(1)->NodeIndex, 0);
    EXPECT_EQ(list.At(2)->NodeIndex, 3);
}

TEST_F(DeviceListFile, LoadKeepsAtMost252Devices)
{
    QByteArray content;
    for (int i = 0; i < 260; ++i)
        content += Record(0, static_cast<quint8>(i), "n");
    WriteFileBytes(path, content);

    TDeviceList list;
    list.LoadDeviceList(recordDir);

    EXPECT_EQ(list.Count(), 252);
    EXPECT_EQ(list.At(252)->Addr, 251);
}

TEST_F(DeviceListFile, MissingFileIsCreatedEmptyAndEmptyListSavesEmptyFile)
{
    TDeviceList list = ListOf({4});
    list.LoadDeviceList(recordDir);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(QFile::exists(path));

    WriteFileBytes(path, Record(0, 1, "A"));
    list.SaveDeviceList(recordDir);
    EXPECT_EQ(ReadFileBytes(path), QByteArray());
}

TEST_F(DeviceListFile, FileThatCannotBeOpenedLeavesTheListAlone)
{
    ASSERT_TRUE(QDir(recordDir).mkdir(QStringLiteral("TreeNode.dat")));
    TDeviceList list = ListOf({4, 8});
    list.LoadDeviceList(recordDir);
    EXPECT_EQ(Addresses(list), (std::vector<quint8>{4, 8}));
}

TEST_F(DeviceListFile, MissingRecordDirectoryIsAnError)
{
    const QString missing = dir.filePath(QStringLiteral("no/such/dir"));
    TDeviceList list = ListOf({4});
    EXPECT_THROW(list.LoadDeviceList(missing), std::runtime_error);
    EXPECT_THROW(list.SaveDeviceList(missing), std::runtime_error);
    EXPECT_EQ(list.Count(), 1);
}

TEST(TDeviceList, FullListIgnoresFurtherDevicesAndKeepsEveryDeviceReachable)
{
    TDeviceList list;
    for (int i = 1; i <= 252; ++i)
        ASSERT_TRUE(list.AddDevice(TDeviceNode::Make(static_cast<quint8>(i), QString::number(i))));
    EXPECT_FALSE(list.AddDevice(TDeviceNode::Make(253, u"extra")));
    EXPECT_EQ(list.Count(), 252);
    EXPECT_EQ(list.At(252)->Addr, 252);

    // From device 87 on the tree index no longer fits the byte that the
    // file keeps; the byte wraps, the device is still found by position.
    EXPECT_EQ(list.At(86)->NodeIndex, 255);
    EXPECT_EQ(list.At(87)->NodeIndex, 2);
    EXPECT_EQ(list.At(252)->NodeIndex, static_cast<quint8>(3 * 251));
    const int treeIndex = TDeviceList::TreeIndexOf(200);
    EXPECT_EQ(treeIndex, 597);
    EXPECT_EQ(list.PositionOfTreeIndex(treeIndex + 2), 200);
    EXPECT_TRUE(list.SetDeviceName(treeIndex, TDeviceNode::StoredName(u"renamed")));
    EXPECT_EQ(list.At(200)->NameText(), QStringLiteral("renamed"));
    EXPECT_EQ(list.At(1)->NameText(), QStringLiteral("1"));
}

TEST(TDeviceList, SetDeviceNameNeedsTheIndexOfADeviceNode)
{
    TDeviceList list = ListOf({4, 8});
    const QByteArray name = TDeviceNode::StoredName(u"x");
    for (int treeIndex : {-1, 1, 2, 4, 6, 255}) {
        EXPECT_FALSE(list.SetDeviceName(treeIndex, name)) << treeIndex;
    }
    EXPECT_EQ(list.At(1)->NameText(), QStringLiteral("4"));
    EXPECT_EQ(list.At(2)->NameText(), QStringLiteral("8"));
    EXPECT_TRUE(list.SetDeviceName(3, name));
    EXPECT_EQ(list.At(2)->NameText(), QStringLiteral("x"));
}

TEST(TDeviceList, TreeNodesMapToDevicePositions)
{
    const TDeviceList list = ListOf({4, 8});
    const struct { int treeIndex; int position; int deviceNode; bool graph; } cases[] = {
        {0, 1, 0, false}, {1, 1, 0, false}, {2, 1, 0, true},
        {3, 2, 3, false}, {5, 2, 3, true}, {6, 0, 6, false}, {-1, 0, -1, false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(list.PositionOfTreeIndex(c.treeIndex), c.position) << c.treeIndex;
        if (c.treeIndex >= 0) {
            EXPECT_EQ(TDeviceList::DeviceTreeIndex(c.treeIndex), c.deviceNode) << c.treeIndex;
        }
        EXPECT_EQ(TDeviceList::IsGraphNode(c.treeIndex), c.graph) << c.treeIndex;
    }
}

TEST(TDeviceList, PollCursorWalksTheListAndWraps)
{
    TDeviceList empty;
    empty.NextPollDevice();
    EXPECT_EQ(empty.Cursor(), 0);
    EXPECT_EQ(empty.PollAddr(), 0);

    TDeviceList list = ListOf({5, 9, 2});
    std::vector<quint8> polled;
    for (int i = 0; i < 4; ++i) {
        list.NextPollDevice();
        polled.push_back(list.PollAddr());
    }
    EXPECT_EQ(polled, (std::vector<quint8>{5, 9, 2, 5}));
    EXPECT_EQ(list.Cursor(), 1);
    EXPECT_EQ(list.RoundsBegun(), 2u); // the first round, then the wrap

    // Entries of a damaged file at the broadcast address or beyond 252 are
    // passed over; with nothing left to poll the address is 0.
    TDeviceList damaged = ListOf({0, 7, 253, 255});
    polled.clear();
    for (int i = 0; i < 3; ++i) {
        damaged.NextPollDevice();
        polled.push_back(damaged.PollAddr());
    }
    EXPECT_EQ(polled, (std::vector<quint8>{7, 7, 7}));
    EXPECT_EQ(damaged.RoundsBegun(), 3u); // each pass over the unpollable first entry begins a round
    TDeviceList unpollable = ListOf({0, 254});
    unpollable.NextPollDevice();
    EXPECT_EQ(unpollable.PollAddr(), 0);
}

TEST(TDeviceList, RemovingADeviceKeepsThePollOrder)
{
    const struct { int removed; std::vector<quint8> nextPolls; } cases[] = {
        {1, {3, 2, 3}}, // before the cursor
        {2, {3, 1, 3}}, // the device being polled: its successor comes next
        {3, {1, 2, 1}}, // after the cursor
    };
    for (const auto &c : cases) {
        TDeviceList list = ListOf({1, 2, 3});
        list.NextPollDevice();
        list.NextPollDevice(); // polling 2
        ASSERT_TRUE(list.RemoveAt(c.removed));
        EXPECT_EQ(list.PollAddr(), 2) << "the request in flight keeps its address";
        std::vector<quint8> polls;
        for (size_t i = 0; i < c.nextPolls.size(); ++i) {
            list.NextPollDevice();
            polls.push_back(list.PollAddr());
        }
        EXPECT_EQ(polls, c.nextPolls) << "removed " << c.removed;
    }

    TDeviceList list = ListOf({1, 2, 3});
    EXPECT_FALSE(list.RemoveAt(0));
    EXPECT_FALSE(list.RemoveAt(4));
    ASSERT_TRUE(list.RemoveAt(1));
    EXPECT_EQ(Addresses(list), (std::vector<quint8>{2, 3}));
    EXPECT_EQ(list.At(2)->NodeIndex, 3);
}

TEST(TDeviceList, IsAddrUsedLooksOnlyAtListedDevices)
{
    TDeviceList list = ListOf({1, 2, 5});
    EXPECT_TRUE(list.IsAddrUsed(5));
    EXPECT_FALSE(list.IsAddrUsed(3));
    list.RemoveAt(3);
    EXPECT_FALSE(list.IsAddrUsed(5));
    EXPECT_FALSE(list.IsAddrUsed(0));
}

} // namespace
