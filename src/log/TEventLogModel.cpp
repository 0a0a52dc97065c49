#include "log/TEventLogModel.h"

#include "log/RowOrder.h"
#include "model/CodeTexts.h"
#include "model/TextLanguage.h"

#include <cmath>


TEventLogModel::TEventLogModel(quint8 language, QObject *parent)
    : TLogGridModel(kColumnCount, kMinDataRows, parent), FLanguage(language)
{
}

QString TEventLogModel::ClearedAlarmPrefix(quint8 language)
{
    return IsChineseLanguage(language) ? QStringLiteral("恢复于: ") : QStringLiteral("Recover from: ");
}

QString TEventLogModel::EventText(const TEventRec &rec, quint8 language)
{
    switch (rec.Kind) {
    case kEventKindEvent:
        return GetEventText(rec.Code, language);
    case kEventKindState:
        return GetStateText(rec.Code, language);
    case kEventKindAlarm: {
        const QString alarm = GetAlarmText(rec.Code, language);
        if (alarm.isEmpty() || rec.Flag == kAlarmOccurred)
            return alarm;
        return ClearedAlarmPrefix(language) + alarm;
    }
    default:
        return {};
    }
}

QString TEventLogModel::HeaderText(int column, quint8 language)
{
    static const char *const kEnglish[kColumnCount] = {"Index", "Time", "Address", "Event"};
    static const char *const kChinese[kColumnCount] = {"序号", "时间", "设备地址", "事件"};
    if (column < 0 || column >= kColumnCount)
        return {};
    return QString::fromUtf8(IsChineseLanguage(language) ? kChinese[column] : kEnglish[column]);
}

std::vector<TEventRow> TEventLogModel::BuildRows(const std::vector<TEventRec> &records,
                                                 const TEventFilter &filter, quint8 language)
{
    std::vector<TEventRow> rows;
    int number = static_cast<int>(records.size()) + 1;
    for (const TEventRec &rec : records) {
        --number;
        if (!filter.Matches(rec))
            continue;
        QString text = EventText(rec, language);
        if (text.isEmpty())
            continue;
        rows.push_back({number, rec.Time, rec.Addr, std::move(text)});
    }
    return rows;
}

QString TEventLogModel::CellText(const TEventRow &row, int column)
{
    switch (column) {
    case 0:
        return QString::number(row.Number);
    case 1:
        return FormatDateTime(row.Time);
    case 2:
        return row.Addr > 0 ? QString::number(row.Addr) : QString();
    case 3:
        return row.Text;
    default:
        return {};
    }
}

void TEventLogModel::Load(const std::vector<TEventRec> &records, const TEventFilter &filter)
{
    beginResetModel();
    FRows = BuildRows(records, filter, FLanguage);
    ResetOrder(FRows.size());
    endResetModel();
}

void TEventLogModel::ClearGrid()
{
    beginResetModel();
    FRows.clear();
    ResetOrder(0);
    endResetModel();
}

QString TEventLogModel::RecordCellText(std::uint32_t record, int column) const
{
    return CellText(FRows[record], column);
}

void TEventLogModel::Sort(int column, std::uint8_t dir)
{
    const bool descending = dir != 0;
    const std::size_t n = FRows.size();
    switch (column) {
    case 0:
        ChangeOrder(SortedRowOrder<int>(n, [this](std::size_t i) { return FRows[i].Number; }, descending));
        break;
    case 1:
        ChangeOrder(SortedRowOrder<double>(n, [this](std::size_t i) { return std::isnan(FRows[i].Time) ? -1e300 : FRows[i].Time; }, descending));
        break;
    case 2:
        ChangeOrder(SortedRowOrder<int>(n, [this](std::size_t i) { return int{FRows[i].Addr}; }, descending));
        break;
    case 3:
        ChangeOrder(SortedRowOrder<QString>(n, [this](std::size_t i) { return FRows[i].Text.toCaseFolded(); },
                                            descending));
        break;
    default:
        break;
    }
}
