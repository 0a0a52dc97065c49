#include "log/TLogGridModel.h"

#include <cstdint>
#include <numeric>
#include <unordered_map>

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

void TLogGridModel::ResetOrder(std::vector<std::uint32_t> order)
{
    FOrder = std::move(order);
}

void TLogGridModel::ChangeOrder(std::vector<std::uint32_t> order)
{
    ChangeOrderInPlace([&order](std::vector<std::uint32_t> &rows) { rows.swap(order); });
}

void TLogGridModel::ChangeOrderInPlace(const std::function<void(std::vector<std::uint32_t> &rows)> &rewrite)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    // The views hold a few persistent indexes (the current cell, the
    // selection); find their records' new rows in one pass rather than
    // keeping a map of every record, which for a month of a large site
    // would cost as much memory as the rows themselves.
    constexpr std::uint32_t kEmptyRow = UINT32_MAX;
    std::vector<std::uint32_t> recordOf;
    std::unordered_map<std::uint32_t, int> newRowOf;
    for (const QModelIndex &index : before) {
        const bool listed = index.row() < RowNo();
        recordOf.push_back(listed ? RecordAt(index.row()) : kEmptyRow);
        if (listed)
            newRowOf.emplace(RecordAt(index.row()), index.row());
    }
    rewrite(FOrder);
    if (!newRowOf.empty())
        for (std::size_t row = 0; row < FOrder.size(); ++row)
            if (auto found = newRowOf.find(FOrder[row]); found != newRowOf.end())
                found->second = static_cast<int>(row);
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row = recordOf[i] == kEmptyRow ? before[i].row() : newRowOf.at(recordOf[i]);
        after.push_back(this->index(row, before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
