#include "log/TEventLogModel.h"

#include "support/LogFileFixtures.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>

namespace {

std::vector<std::string> Column(const TEventLogModel &model, int column)
{
    std::vector<std::string> cells;
    for (int row = 0; row < model.GridRowCount(); ++row)
        cells.push_back(model.GridCellText(row, column).toStdString());
    return cells;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(TEventFilter, DateByTheFinestFieldSetAndAddress)
{
    const TEventRec rec = Event(At(2009, 3, 15, 8, 30), 5, kEventKindEvent, kEventCommLost);
    struct Case {
        TEventFilter Filter;
        bool Matches;
    } const cases[] = {
        {{0, 0, 0, 0}, true},       {{2009, 0, 0, 0}, true},   {{2010, 0, 0, 0}, false},
        {{2009, 3, 0, 0}, true},    {{2009, 4, 0, 0}, false},  {{2008, 3, 0, 0}, false},
        {{2009, 3, 15, 0}, true},   {{2009, 3, 16, 0}, false}, {{2009, 2, 30, 0}, false},
        {{2009, 3, 15, 5}, true},   {{2009, 3, 15, 6}, false}, {{0, 0, 0, 5}, true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.Filter.Matches(rec), c.Matches)
            << c.Filter.Year << "/" << c.Filter.Month << "/" << c.Filter.Day << " addr " << c.Filter.Addr;

    const TEventRec monitor = Event(At(2009, 3, 15), 0, kEventKindEvent, kEventSoftwareOpen);
    EXPECT_FALSE((TEventFilter{0, 0, 0, 1}.Matches(monitor)));
    EXPECT_TRUE((TEventFilter{}.Matches(Event(-700000, 1, 0, 20))));
    EXPECT_FALSE((TEventFilter{2009, 0, 0, 0}.Matches(Event(-700000, 1, 0, 20))));
}

TEST(TEventLogModel, TextsByKindWithThePrefixOfAClearedAlarm)
{
    struct Case {
        TEventRec Rec;
        quint8 Language;
        const char *Text;
    } const cases[] = {
        {Event(0, 0, kEventKindEvent, kEventSoftwareOpen), 0, "Monitor software is open"},
        {Event(0, 0, kEventKindEvent, kEventSoftwareOpen), 1, "监控软件开启"},
        {Event(0, 1, kEventKindState, 4), 0, "Online"},
        {Event(0, 1, kEventKindAlarm, 122, kAlarmOccurred), 0, "Bypass abnormal,shutdown"},
        {Event(0, 1, kEventKindAlarm, 122, kAlarmCleared), 0, "Recover from: Bypass abnormal,shutdown"},
        {Event(0, 1, kEventKindAlarm, 122, kAlarmCleared), 1, "恢复于: 旁路异常关机"},
        {Event(0, 1, kEventKindAlarm, 122, 7), 0, "Recover from: Bypass abnormal,shutdown"},
        {Event(0, 1, kEventKindAlarm, 9999, kAlarmCleared), 0, ""},
        {Event(0, 1, kEventKindEvent, 5), 0, ""},
        {Event(0, 1, 3, 20), 0, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TEventLogModel::EventText(c.Rec, c.Language).toStdString(), c.Text) << c.Rec.Code;
}

TEST(TEventLogModel, RowsNumberedFromTheEndOfTheFileSkippingEmptyTexts)
{
    const std::vector<TEventRec> file = {
        Event(At(2009, 2, 28, 23, 59, 59), 0, kEventKindEvent, kEventSoftwareOpen),
        Event(At(2009, 3, 1, 0, 0, 1), 7, kEventKindAlarm, 9999, kAlarmCleared), // no text: no row
        Event(At(2009, 3, 1, 0, 0, 2), 7, kEventKindState, 5),
        Event(At(2009, 3, 2), 8, kEventKindEvent, kEventCommLost),
    };
    TEventLogModel model(0);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    model.Load(file, {});
    EXPECT_EQ(model.RowNo(), 3);
    EXPECT_EQ(Column(model, 0), (Strings{"4", "2", "1"}));
    EXPECT_EQ(Column(model, 1), (Strings{"2009-02-28 23:59:59", "2009-03-01 00:00:02", "2009-03-02 00:00:00"}));
    EXPECT_EQ(Column(model, 2), (Strings{"", "7", "8"}));
    EXPECT_EQ(Column(model, 3), (Strings{"Monitor software is open", "Battery Status", "Communication lost"}));

    // Filtering keeps each record's number.
    model.Load(file, {2009, 3, 0, 7});
    EXPECT_EQ(Column(model, 0), (Strings{"2", ""}));

    // No match at all: the two empty rows stay.
    model.Load(file, {2010, 0, 0, 0});
    EXPECT_EQ(model.RowNo(), 0);
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(Column(model, 3), (Strings{"", ""}));
}

TEST(TEventLogModel, SortsEachColumnInItsNaturalOrderStably)
{
    const std::vector<TEventRec> file = {
        Event(At(2009, 3, 3), 12, kEventKindEvent, kEventCommLost),     // 5
        Event(At(2009, 3, 1), 2, kEventKindEvent, kEventCommUpbuilt),   // 4
        Event(At(2009, 3, 2), 0, kEventKindEvent, kEventSoftwareOpen),  // 3
        Event(At(2009, 3, 10), 2, kEventKindState, 4),                  // 2
        Event(At(2009, 3, 1), 12, kEventKindEvent, kEventCommRecovered), // 1
    };
    TEventLogModel model(0);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.Load(file, {});
    struct Case {
        int Column;
        std::uint8_t Dir;
        Strings Numbers;
    } const cases[] = {
        {0, 0, {"1", "2", "3", "4", "5"}},
        {0, 1, {"5", "4", "3", "2", "1"}},
        {1, 0, {"4", "1", "3", "5", "2"}}, // 4 and 1 share a time: file order
        {1, 1, {"2", "5", "3", "4", "1"}},
        {2, 0, {"3", "4", "2", "5", "1"}}, // 2 before 12: by value, not as text
        {2, 1, {"5", "1", "4", "2", "3"}},
        {3, 0, {"5", "1", "4", "3", "2"}}, // "Communication lost" < "...recovered" < "...upbuilt" < "Monitor" < "Online"
    };
    for (const Case &c : cases) {
        model.Sort(c.Column, c.Dir);
        EXPECT_EQ(Column(model, 0), c.Numbers) << "column " << c.Column << " dir " << int{c.Dir};
    }
}
