#pragma once

#include "model/TDeviceNode.h"

#include <QString>
#include <QtGlobal>

#include <array>

// The monitored devices in poll order, with the poll cursor the engine walks.
// One instance lives for the whole run; it is handed by reference to the
// tree, the windows that edit it and the request builders.
//
// Positions are 1-based. In the device tree every device is one node
// followed by its two child nodes, so the device at position p has the tree
// index 3 × (p − 1). Devices are found by that arithmetic, never through the
// one-byte NodeIndex, which cannot hold the tree index from the 86th device on.
class TDeviceList
{
public:
    static constexpr int kCapacity = 252;
    static constexpr int kNodesPerDevice = 3; // the device node, "Real-time Info", "Graph"

    quint8 Count() const { return FCount; }
    quint8 Cursor() const { return FCursor; }
    quint8 PollAddr() const { return FPollAddr; }
    // How often the cursor has come to the first position: a new poll round
    // begins each time, so the time between two changes is one full round.
    quint32 RoundsBegun() const { return FRoundsBegun; }

    // The device at a 1-based position; nullptr outside 1..Count.
    const TDeviceNode *At(int position) const;

    // Reads RecordDir/TreeNode.dat, creating it empty when missing. When it
    // cannot be opened for reading the list stays as it is. Records beyond
    // the 252nd and a trailing partial record are ignored. Throws
    // std::runtime_error when the file cannot be created or read; the
    // records read so far are kept.
    void LoadDeviceList(const QString &recordDir);

    // Replaces the content of RecordDir/TreeNode.dat with the list. Throws
    // std::runtime_error when that fails, leaving the old file in place.
    void SaveDeviceList(const QString &recordDir) const;

    static QString FilePath(const QString &recordDir);

    // Appends node (its NodeIndex is ignored). False, and nothing changes,
    // when the list is full.
    bool AddDevice(const TDeviceNode &node);

    // Renames the device whose node has this tree index. False when no
    // device has it.
    bool SetDeviceName(int treeIndex, QByteArrayView storedName);

    // Removes the device at a 1-based position; false when there is none.
    bool RemoveAt(int position);

    // Moves the cursor to the next device, wrapping to the first, and makes
    // its address PollAddr; both 0 when the list is empty.
    void NextPollDevice();

    bool IsAddrUsed(quint8 addr) const;
    // The first device with this address; nullptr when none has it.
    const TDeviceNode *FindAddr(quint8 addr) const;

    // Tree index of the device node at a 1-based position.
    static int TreeIndexOf(int position);
    // Tree index of the device node that a node (the device's own or one of
    // its children) belongs to; -1 for a negative index.
    static int DeviceTreeIndex(int treeIndex);
    // True for the second child node of a device, the graph node.
    static bool IsGraphNode(int treeIndex);
    // 1-based position of the device a tree node belongs to; 0 when none.
    int PositionOfTreeIndex(int treeIndex) const;

private:
    void Renumber();

    std::array<TDeviceNode, kCapacity> FItems{};
    quint8 FCount = 0;
    quint8 FCursor = 0;
    quint8 FPollAddr = 0;
    quint32 FRoundsBegun = 0;
};
