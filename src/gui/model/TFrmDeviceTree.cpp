#include "gui/model/TFrmDeviceTree.h"

#include "gui/widgets/TreeIcons.h"
#include "model/DeviceNodeLook.h"
#include "model/RealTimeViewTexts.h"
#include "model/TDeviceList.h"
#include "model/TDeviceSelection.h"
#include "model/TUpsInfoTable.h"
#include "model/UpsInfoRules.h"

#include <QHeaderView>

namespace {

void SetIcon(QTreeWidgetItem *item, TTreeIcon icon)
{
    if (item->data(0, TFrmDeviceTree::kIconRole).toInt() == icon
        && item->data(0, TFrmDeviceTree::kIconRole).isValid())
        return;
    item->setIcon(0, TreeIcons::Icon(icon));
    item->setData(0, TFrmDeviceTree::kIconRole, static_cast<int>(icon));
}

} // namespace

TFrmDeviceTree::TFrmDeviceTree(TDeviceList &deviceList, TDeviceSelection &selection, QWidget *parent)
    : QTreeWidget(parent), FDeviceList(deviceList), FSelection(selection),
      FNodeCaption(DeviceChildCaptions(0))
{
    setObjectName(QStringLiteral("TreeView1"));
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setIndentation(16);
    setUniformRowHeights(true);
    header()->setStretchLastSection(true);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { TreeView1Click(item); });
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) { TreeView1Click(item); });
}

void TFrmDeviceTree::SetChildCaptions(const std::vector<QString> &captions)
{
    FNodeCaption = captions;
}

QTreeWidgetItem *TFrmDeviceTree::AddDeviceNode(const QString &name)
{
    auto *device = new QTreeWidgetItem(this, QStringList(name));
    SetIcon(device, kIconOffline);
    for (const QString &caption : FNodeCaption) {
        auto *child = new QTreeWidgetItem(device, QStringList(caption));
        SetIcon(child, kIconChild);
    }
    return device;
}

void TFrmDeviceTree::RebuildDeviceTree()
{
    const QSignalBlocker blocker(this);
    clear();
    for (int position = 1; position <= FDeviceList.Count(); ++position)
        AddDeviceNode(FDeviceList.At(position)->NameText());
    expandAll();
    FSelection.AfterRebuild(FDeviceList);
    if (QTreeWidgetItem *selected = NodeAt(FSelection.FidxSelNode))
        setCurrentItem(selected);
}

void TFrmDeviceTree::UpdateDeviceNode(int position, TUpsInfoTable &upsInfo, bool portOpened, quint8 language)
{
    const TDeviceNode *device = FDeviceList.At(position);
    QTreeWidgetItem *node = topLevelItem(position - 1);
    if (device == nullptr || node == nullptr)
        return;
    // A device without a bus address is never polled: it looks like one
    // whose link never came up, and has no record of its own to clear.
    static TUpsInfo neverPolled;
    TUpsInfo &rec = device->HasBusAddress() ? upsInfo[device->Addr] : neverPolled;
    const TDeviceNodeLook look = DeviceNodeLook(device->NameText(), rec, portOpened, language);
    SetIcon(node, look.Icon);
    if (node->text(0) != look.Caption) {
        node->setText(0, look.Caption);
        node->setToolTip(0, look.Caption); // the panel is narrower than a long caption
    }
    if (look.ClearRecord && device->HasBusAddress())
        ClearUpsInfo(rec);
}

QTreeWidgetItem *TFrmDeviceTree::NodeAt(int treeIndex) const
{
    if (treeIndex < 0)
        return nullptr;
    QTreeWidgetItem *device = topLevelItem(treeIndex / TDeviceList::kNodesPerDevice);
    const int offset = treeIndex % TDeviceList::kNodesPerDevice;
    if (device == nullptr || offset == 0)
        return device;
    return device->child(offset - 1);
}

int TFrmDeviceTree::TreeIndexOfItem(const QTreeWidgetItem *item)
{
    if (item == nullptr)
        return -1;
    if (QTreeWidgetItem *parent = item->parent()) {
        const int device = parent->treeWidget()->indexOfTopLevelItem(parent);
        return TDeviceList::TreeIndexOf(device + 1) + parent->indexOfChild(const_cast<QTreeWidgetItem *>(item)) + 1;
    }
    return TDeviceList::TreeIndexOf(item->treeWidget()->indexOfTopLevelItem(const_cast<QTreeWidgetItem *>(item)) + 1);
}

void TFrmDeviceTree::TreeView1Click(QTreeWidgetItem *item)
{
    if (item == nullptr)
        return;
    const int treeIndex = TreeIndexOfItem(item);
    FSelection.SelectNode(FDeviceList, treeIndex);
    emit pageRequested(TDeviceList::IsGraphNode(treeIndex));
}
