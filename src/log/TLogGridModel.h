#pragma once

#include "log/TTextGrid.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>
#include <vector>

// What the two log viewers' tables share: loaded records shown in an order
// of their own, at least a fixed number of rows (the ones past the records
// are empty, as the viewers have always shown them), and cell texts made
// only when a cell is drawn or exported.
class TLogGridModel : public QAbstractTableModel, public TTextGrid {
    Q_OBJECT
public:
    TLogGridModel(int columnCount, int minDataRows, QObject *parent);

    // The number of records listed (the empty rows not counted).
    int RowNo() const { return static_cast<int>(FOrder.size()); }
    // The record shown in `row`, as the derived model numbers its records.
    std::uint32_t RecordAt(int row) const { return FOrder[static_cast<std::size_t>(row)]; }

    // Stable sort of the records by the column, ascending (0) or descending (1).
    virtual void Sort(int column, std::uint8_t dir) = 0;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    int GridColumnCount() const override { return FColumnCount; }
    int GridRowCount() const override { return rowCount(); }
    QString GridHeaderText(int column) const override;
    QString GridCellText(int row, int column) const override;

protected:
    virtual QString RecordCellText(std::uint32_t record, int column) const = 0;
    virtual QString ColumnHeaderText(int column) const = 0;

    // Shows `count` records numbered 0 to count - 1 in that order, or the
    // records of `order` in its order; call between beginResetModel() and
    // endResetModel().
    void ResetOrder(std::size_t count);
    void ResetOrder(std::vector<std::uint32_t> order);
    // Shows the records in `order`, keeping selections on their records.
    void ChangeOrder(std::vector<std::uint32_t> order);
    // The same for an order written in place: `rewrite` gets the rows and
    // puts the same records into a new order. It must not throw, so that
    // the views never see a change begun and not finished; do whatever may
    // fail (allocations) before.
    void ChangeOrderInPlace(const std::function<void(std::vector<std::uint32_t> &rows)> &rewrite);

private:
    int FColumnCount;
    int FMinDataRows;
    std::vector<std::uint32_t> FOrder;
};
