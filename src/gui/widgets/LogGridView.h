#pragma once

#include "log/TGridSortState.h"
#include "log/TLogGridModel.h"

#include <QTableView>

#include <vector>

// The grid of a log viewer: whole-row selection, a header row without a
// header column, and sorting by the mouse rules of TGridSortState.
class LogGridView : public QTableView {
    Q_OBJECT
public:
    LogGridView(TLogGridModel &model, TGridSortState &sort, QWidget *parent = nullptr);

    // Sorts the rows by the state's column and direction.
    void ApplySort();
    // The rows are in file order: no arrow in the header.
    void ShowUnsorted();

    // The columns the export writes: those wider than 0, left to right.
    std::vector<int> ShownColumns() const;

signals:
    // After every sort, so the window can show the debug text.
    void Sorted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ShowOrder();

    TLogGridModel &FModel;
    TGridSortState &FSort;
};
