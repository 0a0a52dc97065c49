#pragma once

#include <QtGlobal>

class TDeviceList;

// The device selected in the device tree. It survives a rebuild of the tree
// by its position in the list, not by its address, and is what the control
// windows address their commands to.
class TDeviceSelection
{
public:
    qint32 FidxSelNode = -1; // tree index of the node selected last; -1 with an empty list
    qint32 FSelDevPos = 0;   // 1-based position of the selected device; 0 when none
    quint8 FSelDevAddr = 0;  // its bus address; 0 when none or when it has none

    // After the tree was rebuilt from list: keeps the position within the
    // list (the first device when none was selected) and selects that
    // device's node; with an empty list nothing is selected.
    void AfterRebuild(const TDeviceList &list);

    // The user picked the tree node treeIndex: its device becomes the
    // selected one (none when the index belongs to no device).
    void SelectNode(const TDeviceList &list, int treeIndex);

    // Tree index of the selected device's own node (the parent of a
    // selected child node); -1 when nothing is selected.
    int SelectedDeviceTreeIndex() const;

    quint8 GetSelDevAddr() const { return FSelDevAddr; }

    // Removes the selected device from list, then selects the device that
    // moved up into its place, or the new last one.
    void DeleteSelectedDevice(TDeviceList &list);
};
