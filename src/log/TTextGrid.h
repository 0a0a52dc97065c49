#pragma once

#include <QString>

// A table of texts as a log viewer shows it: a header row and data rows in
// their current order, the empty rows the viewer keeps included. The CSV
// export reads it through this, so it writes exactly what is on screen.
class TTextGrid {
public:
    virtual ~TTextGrid() = default;

    virtual int GridColumnCount() const = 0;
    virtual int GridRowCount() const = 0;
    virtual QString GridHeaderText(int column) const = 0;
    virtual QString GridCellText(int row, int column) const = 0;

    // Readies rows [from, to) so that their cells can be read from several
    // threads at once, until the next call. A grid that reads its rows from
    // a file reads them here, in one pass.
    virtual void PrepareRows(int from, int to) const
    {
        Q_UNUSED(from);
        Q_UNUSED(to);
    }
};
