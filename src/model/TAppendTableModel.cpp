#include "model/TAppendTableModel.h"

#include "model/TDeviceList.h"
#include "model/TDeviceNode.h"

#include <algorithm>

TAppendTableModel::TAppendTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void TAppendTableModel::SetHeaders(const QString &addr, const QString &name)
{
    FHeaders = {addr, name};
    emit headerDataChanged(Qt::Horizontal, 0, kColumnCount - 1);
}

std::uint8_t TAppendTableModel::AddrOfCell(const QString &cell)
{
    // Anything else would be cut to a byte on the way into the device list
    // and come out as some other device's address.
    bool ok = false;
    const int addr = cell.trimmed().toInt(&ok);
    if (!ok || addr < 1 || addr > TDeviceList::kCapacity)
        return 1;
    return static_cast<std::uint8_t>(addr);
}

TAppendTableModel::TMoveResult TAppendTableModel::MoveOne(std::uint8_t addr, const TDeviceList &list)
{
    if (list.IsAddrUsed(addr))
        return TMoveResult::AddrUsed;
    if (HoldsAddr(addr))
        return TMoveResult::AlreadyInTable;
    AddEntry(addr);
    return TMoveResult::Moved;
}

void TAppendTableModel::MoveAll(const std::vector<std::uint8_t> &found, const TDeviceList &list)
{
    if (found.empty())
        return;
    Clear();
    for (std::uint8_t addr : found)
        if (!list.IsAddrUsed(addr))
            AddEntry(addr);
}

void TAppendTableModel::Clear()
{
    if (FEntries.empty())
        return;
    beginRemoveRows({}, 0, static_cast<int>(FEntries.size()) - 1);
    FEntries.clear();
    endRemoveRows();
}

TAppendTableModel::TAppendResult TAppendTableModel::AppendTo(TDeviceList &list)
{
    if (FEntries.empty())
        return TAppendResult::NothingToAppend;
    if (std::any_of(FEntries.begin(), FEntries.end(), [](const TAppendRow &row) { return row.Name.isEmpty(); }))
        return TAppendResult::NameMissing;
    for (const TAppendRow &row : FEntries)
        list.AddDevice(TDeviceNode::Make(AddrOfCell(row.Addr), row.Name));
    Clear();
    return TAppendResult::Appended;
}

void TAppendTableModel::AddEntry(std::uint8_t addr)
{
    const int row = static_cast<int>(FEntries.size());
    const QString text = QString::number(addr);
    beginInsertRows({}, row, row);
    FEntries.push_back({text, text});
    endInsertRows();
}

bool TAppendTableModel::HoldsAddr(std::uint8_t addr) const
{
    return std::any_of(FEntries.begin(), FEntries.end(),
                       [addr](const TAppendRow &row) { return AddrOfCell(row.Addr) == addr; });
}

int TAppendTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FEntries.size()) + 1;
}

int TAppendTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TAppendTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    if (index.row() >= static_cast<int>(FEntries.size()))
        return QString();
    const TAppendRow &row = FEntries[static_cast<size_t>(index.row())];
    return index.column() == AddrColumn ? row.Addr : row.Name;
}

bool TAppendTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.row() >= static_cast<int>(FEntries.size()))
        return false;
    TAppendRow &row = FEntries[static_cast<size_t>(index.row())];
    (index.column() == AddrColumn ? row.Addr : row.Name) = value.toString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags TAppendTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.row() < static_cast<int>(FEntries.size()) ? base | Qt::ItemIsEditable : base;
}

QVariant TAppendTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return FHeaders[section];
}
