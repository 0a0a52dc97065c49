#pragma once

#include <QString>

#include <cstdint>

// The sort state of a log viewer's grid and what a mouse click does to it.
//
// Two rules meet on every click, as users of the viewers know them. The
// viewer's own rule acts on the press: a press (any button but the right)
// on the header picks the column, or flips `FSortDir` when it is already the
// sort column, and the rows are sorted by (`FSortCol`, `FSortDir`). The
// grid's header sorting acts on the release of the left button after a
// press in the header, and reverses the direction the rows are shown in. So
// a header click leaves the rows opposite to `FSortDir`; the next data-row
// click, refresh or reload shows `FSortDir` again.
class TGridSortState {
public:
    enum TDirection : std::uint8_t { kAscending = 0, kDescending = 1 };
    enum class TButton { Left, Right, Other };

    // `dataClickSorts`: whether a press on a data row picks or flips the
    // column as a header press does (the data log viewer), or only sorts
    // again (the event log viewer).
    explicit TGridSortState(bool dataClickSorts);

    std::uint8_t SortCol() const { return FSortCol; }
    std::uint8_t SortDir() const { return FSortDir; }
    void SetSortDir(std::uint8_t dir) { FSortDir = dir; }

    // The direction the rows are shown in now, and whether they are sorted
    // at all (the data log viewer shows a fresh load in file order).
    std::uint8_t ShownDir() const { return FShownDir; }
    bool Sorted() const { return FSorted; }

    // The rows are sorted by (`FSortCol`, `FSortDir`).
    void ApplySort();
    // A load that leaves the rows in file order.
    void MarkUnsorted() { FSorted = false; }

    // The press and release handlers; `column` is the cell's column. Each
    // returns true when the rows must be sorted again by SortCol() and
    // ShownDir().
    bool Pressed(bool inHeader, int column, TButton button);
    bool Released(bool inHeader, TButton button);

    // "FSortCol:2    FSortDir: ASC", for the debug field.
    QString DebugText() const;

private:
    bool FDataClickSorts;
    std::uint8_t FSortCol = 0;
    std::uint8_t FSortDir = kAscending;
    std::uint8_t FShownDir = kAscending;
    bool FSorted = false;
    bool FPressedInHeader = false;
};
