#pragma once

#include "log/TTextGrid.h"
#include "log/TTrendSeries.h"

#include <QtGlobal>

#include <cstddef>

// The points of a trend within a period as a table, for the CSV export of
// the trend window. Samples give the data log viewer's columns and formats;
// hours of the summary give the hour, the address, the number of records
// and the mean, lowest and highest of each value.
class TTrendGrid : public TTextGrid {
public:
    TTrendGrid(const TTrendSeries &series, TDateTime from, TDateTime to, quint8 language);

    int GridColumnCount() const override;
    int GridRowCount() const override { return static_cast<int>(FEnd - FBegin); }
    QString GridHeaderText(int column) const override;
    QString GridCellText(int row, int column) const override;

private:
    bool Hours() const { return FSeries.Resolution == TTrendResolution::Hours; }

    const TTrendSeries &FSeries;
    quint8 FLanguage;
    std::size_t FBegin = 0;
    std::size_t FEnd = 0;
};
