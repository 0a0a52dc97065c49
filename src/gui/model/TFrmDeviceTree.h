#pragma once

#include <QString>
#include <QTreeWidget>

#include <vector>

class TDeviceList;
class TDeviceSelection;
class TUpsInfoTable;

// The device tree `TreeView1`: one node per monitored device, each with the
// child nodes "Real-time Info" and "Graph". Built from the device list; the
// selection it shows is the program's device selection.
class TFrmDeviceTree : public QTreeWidget
{
    Q_OBJECT

public:
    // Role of the item data holding the icon number (TTreeIcon).
    static constexpr int kIconRole = Qt::UserRole + 1;

    TFrmDeviceTree(TDeviceList &deviceList, TDeviceSelection &selection, QWidget *parent = nullptr);

    // Child captions for the language; takes effect at the next rebuild.
    void SetChildCaptions(const std::vector<QString> &captions);
    const std::vector<QString> &ChildCaptions() const { return FNodeCaption; }

    // Recreates every node from the list and selects the selected device's
    // node, keeping the selection by position.
    void RebuildDeviceTree();

    // Caption and icon of the device at a 1-based position from its status
    // record; the record of a device that is not communicating is cleared.
    void UpdateDeviceNode(int position, TUpsInfoTable &upsInfo, bool portOpened, quint8 language);

    // The node with an absolute index (device nodes and their children
    // counted in order from 0), or null.
    QTreeWidgetItem *NodeAt(int treeIndex) const;
    static int TreeIndexOfItem(const QTreeWidgetItem *item);

    // The user picked the node; same as a click on it.
    void TreeView1Click(QTreeWidgetItem *item);

signals:
    // A click chose the graph page (true) or the real-time page (false).
    void pageRequested(bool graphPage);

private:
    QTreeWidgetItem *AddDeviceNode(const QString &name);

    TDeviceList &FDeviceList;
    TDeviceSelection &FSelection;
    std::vector<QString> FNodeCaption;
};
