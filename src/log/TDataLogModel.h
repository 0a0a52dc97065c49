#pragma once

#include "log/TDataRec.h"
#include "log/TLogGridModel.h"
#include "log/TRecFilter.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// The rows of the data log viewer: time, address and the thirteen shown
// values of each sample of one month file, with at least kMinDataRows rows.
// Every matching record is listed, however many there are.
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

    // Lists the records of the filter's file that match it, in file order.
    // `progress(done, total)` hears in records read. False, with nothing
    // listed, when the file is missing or cannot be read; nothing is created.
    bool Load(const TRecFilter &filter, const std::function<void(qint64, qint64)> &progress = {});
    void ClearGrid();
    // Stable sort by the value of the column: time stamps in time, numbers
    // by value, empty cells before every number.
    void Sort(int column, std::uint8_t dir) override;

    const TDataRec &RecordShownAt(int row) const { return FRecords[RecordAt(row)]; }

protected:
    QString RecordCellText(std::uint32_t record, int column) const override;
    QString ColumnHeaderText(int column) const override { return HeaderText(column, FLanguage); }

private:
    quint8 FLanguage;
    std::vector<TDataRec> FRecords;
};
