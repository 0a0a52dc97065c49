#include "gui/widgets/LogGridView.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace {

TGridSortState::TButton ButtonOf(const QMouseEvent &event)
{
    switch (event.button()) {
    case Qt::LeftButton:
        return TGridSortState::TButton::Left;
    case Qt::RightButton:
        return TGridSortState::TButton::Right;
    default:
        return TGridSortState::TButton::Other;
    }
}

} // namespace

LogGridView::LogGridView(TLogGridModel &model, TGridSortState &sort, QWidget *parent)
    : QTableView(parent), FModel(model), FSort(sort)
{
    setModel(&model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    // Rows all of one height: the view then never measures a million rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSortIndicatorShown(false);
    horizontalHeader()->viewport()->installEventFilter(this);
    // The header's own click (a left press and release on one section) is
    // the grid's header sorting; the header has flipped its arrow already,
    // and ShowOrder sets it to the order the rows are really in.
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this] {
        if (FSort.Released(true, TGridSortState::TButton::Left))
            ShowOrder();
    });
    viewport()->installEventFilter(this);
}

void LogGridView::ApplySort()
{
    FSort.ApplySort();
    ShowOrder();
}

void LogGridView::ShowUnsorted()
{
    FSort.MarkUnsorted();
    horizontalHeader()->setSortIndicatorShown(false);
}

void LogGridView::ShowOrder()
{
    FModel.Sort(FSort.SortCol(), FSort.ShownDir());
    horizontalHeader()->setSortIndicator(FSort.SortCol(),
                                         FSort.ShownDir() == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    horizontalHeader()->setSortIndicatorShown(true);
    emit Sorted();
}

std::vector<int> LogGridView::ShownColumns() const
{
    std::vector<int> columns;
    for (int column = 0; column < FModel.columnCount(); ++column)
        if (!isColumnHidden(column) && columnWidth(column) > 0)
            columns.push_back(column);
    return columns;
}

bool LogGridView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonPress)
        return QTableView::eventFilter(watched, event);
    const bool inHeader = watched == horizontalHeader()->viewport();
    if (!inHeader && watched != viewport())
        return QTableView::eventFilter(watched, event);

    const auto &mouse = static_cast<const QMouseEvent &>(*event);
    const QPoint pos = mouse.position().toPoint();
    const int column = inHeader ? horizontalHeader()->logicalIndexAt(pos) : indexAt(pos).column();
    if (column < 0)
        return QTableView::eventFilter(watched, event); // outside the rows: nothing happens
    if (FSort.Pressed(inHeader, column, ButtonOf(mouse)))
        ShowOrder();
    return QTableView::eventFilter(watched, event);
}
