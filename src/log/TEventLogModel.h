#pragma once

#include "log/TEventFilter.h"
#include "log/TEventRec.h"
#include "log/TLogGridModel.h"
#include <QString>

#include <cstdint>
#include <vector>

// One listed event: its number counted from the end of the file (the newest
// record is 1), and the text in the language of the load.
struct TEventRow {
    int Number = 0;
    TDateTime Time = 0;
    std::uint8_t Addr = 0;
    QString Text;
};

// The rows of the event log viewer: index, time, address and event text,
// with at least kMinDataRows rows.
class TEventLogModel : public TLogGridModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 4;
    static constexpr int kMinDataRows = 2;

    explicit TEventLogModel(quint8 language, QObject *parent = nullptr);

    // The words for a record, or an empty text when it gets no row: an
    // unknown code, or a cleared alarm whose code has no text.
    static QString EventText(const TEventRec &rec, quint8 language);
    static QString ClearedAlarmPrefix(quint8 language);
    static QString HeaderText(int column, quint8 language);

    // The records that match the filter and have a text, numbered from the
    // end of `records` (the whole file, oldest first), in file order.
    static std::vector<TEventRow> BuildRows(const std::vector<TEventRec> &records, const TEventFilter &filter,
                                            quint8 language);
    static QString CellText(const TEventRow &row, int column);

    void Load(const std::vector<TEventRec> &records, const TEventFilter &filter);
    void ClearGrid();
    // Stable sort by the natural order of the column: numbers by value,
    // time stamps in time, texts alphabetically.
    void Sort(int column, std::uint8_t dir) override;

    const TEventRow &EventAt(int row) const { return FRows[RecordAt(row)]; }

protected:
    QString RecordCellText(std::uint32_t record, int column) const override;
    QString ColumnHeaderText(int column) const override { return HeaderText(column, FLanguage); }

private:
    quint8 FLanguage;
    std::vector<TEventRow> FRows;
};
