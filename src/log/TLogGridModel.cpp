#include "log/TLogGridModel.h"

#include <numeric>

TLogGridModel::TLogGridModel(int columnCount, int minDataRows, QObject *parent)
    : QAbstractTableModel(parent), FColumnCount(columnCount), FMinDataRows(minDataRows)
{
}

int TLogGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(RowNo(), FMinDataRows);
}

int TLogGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FColumnCount;
}

QString TLogGridModel::GridHeaderText(int column) const
{
    return column >= 0 && column < FColumnCount ? ColumnHeaderText(column) : QString();
}

QString TLogGridModel::GridCellText(int row, int column) const
{
    if (row < 0 || row >= RowNo() || column < 0 || column >= FColumnCount)
        return {};
    return RecordCellText(RecordAt(row), column);
}

QVariant TLogGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return GridCellText(index.row(), index.column());
}

QVariant TLogGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    return GridHeaderText(section);
}

void TLogGridModel::ResetOrder(std::size_t count)
{
    FOrder.resize(count);
    std::iota(FOrder.begin(), FOrder.end(), 0u);
}

void TLogGridModel::ChangeOrder(std::vector<std::uint32_t> order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    if (!before.isEmpty()) {
        std::vector<int> newRowOfRecord(order.size());
        for (std::size_t row = 0; row < order.size(); ++row)
            newRowOfRecord[order[row]] = static_cast<int>(row);
        for (const QModelIndex &index : before) {
            const int row = index.row() < RowNo() ? newRowOfRecord[RecordAt(index.row())] : index.row();
            after.push_back(this->index(row, index.column()));
        }
    }
    FOrder = std::move(order);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
