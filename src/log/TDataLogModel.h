#pragma once

#include "log/TDataFileReader.h"
#include "log/TDataRec.h"
#include "log/TLogGridModel.h"
#include "log/TRecFilter.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// The rows of the data log viewer: time, address and the thirteen shown
// values of each sample of one month file, with at least kMinDataRows rows.
// Every matching record is listed, however many there are, but none is held:
// the model keeps the month file open, the numbers of the matching records
// (4 bytes each) in the order shown, and reads the records of the rows that
// are drawn or exported when they are asked for. The file is seen as it was
// at the load; records appended since are not listed.
class TDataLogModel : public TLogGridModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 15;
    static constexpr int kMinDataRows = 19;

    explicit TDataLogModel(quint8 language, QObject *parent = nullptr);

    static QString HeaderText(int column, quint8 language);
    // Voltages, frequency and DC voltage with one decimal, loads without;
    // an empty capacity when it is 0 or less and an empty support time when 0.
    static QString CellText(const TDataRec &rec, int column);
    // A value of column 2 to 14 in that column's format.
    static QString ValueText(int column, double value);

    // Lists the records of the filter's file that match it, in file order.
    // `progress(done, total)` hears in records read. False, with nothing
    // listed, when the file is missing or cannot be read (nothing is
    // created), or when there is not enough memory for the list: the model
    // is then empty and LastError() says so.
    bool Load(const TRecFilter &filter, const std::function<void(qint64, qint64)> &progress = {});
    void ClearGrid();
    // Stable sort by the value of the column: time stamps in time, numbers
    // by value, empty cells before every number; equal values keep their
    // file order. Without the memory for it the rows keep their order and
    // LastError() says so.
    void Sort(int column, std::uint8_t dir) override;

    // Why the last load or sort did not do its work; empty when it did.
    const QString &LastError() const { return FLastError; }

    TDataRec RecordShownAt(int row) const { return FFile.Record(RecordAt(row)); }

    // Reads the records of rows [from, to) in one pass, so that their cells
    // can be read from several threads at once until the next call or change.
    void PrepareRows(int from, int to) const override;
    QString GridCellText(int row, int column) const override;

    // Called with the size of each large allocation before it is made;
    // tests throw std::bad_alloc from it to see a load or sort fail.
    std::function<void(std::size_t bytes)> BeforeAllocate;

protected:
    QString RecordCellText(std::uint32_t record, int column) const override;
    QString ColumnHeaderText(int column) const override { return HeaderText(column, FLanguage); }

private:
    void Clear();
    void Allocating(std::size_t bytes) const;
    std::vector<std::uint32_t> MatchingRecords(const TRecFilter &filter,
                                               const std::function<void(qint64, qint64)> &progress);
    template <typename Visit>
    void ForEachListed(Visit visit) const;
    QString OutOfMemoryText(qint64 records) const;

    quint8 FLanguage;
    QString FLastError;
    TDataFileReader FFile;
    // Bit n set: record n is listed. Sorting reads the listed records in
    // file order through it, however the rows are shown.
    std::vector<std::uint64_t> FListed;

    mutable std::vector<TDataRec> FPrepared;
    mutable int FPreparedFrom = 0;
};
