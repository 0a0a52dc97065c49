#include "log/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(DateTime, DayNumbersAndFractionsFormatAsLocalWallClock)
{
    struct Case {
        TDateTime Value;
        const char *Text;
    } const cases[] = {
        {0.0, "1899-12-30 00:00:00"},
        {2.0, "1900-01-01 00:00:00"},
        {39873.5, "2009-03-01 12:00:00"},
        {39873.0 + (5 * 3600 + 7 * 60 + 9) / 86400.0, "2009-03-01 05:07:09"},
        {40179.0 - 1 / 86400.0, "2009-12-31 23:59:59"},
        {-1.25, "1899-12-29 06:00:00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatDateTime(c.Value).toStdString(), c.Text) << c.Value;
}

TEST(DateTime, ConvertsBothWaysToTheMillisecond)
{
    const QDateTime stamps[] = {
        QDateTime(QDate(2026, 12, 9), QTime(13, 45, 12, 345)),
        QDateTime(QDate(2009, 3, 1), QTime(0, 0, 0, 1)),
        QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 999)),
        QDateTime(QDate(1899, 12, 29), QTime(6, 0)),
    };
    for (const QDateTime &stamp : stamps) {
        const TDateTime value = QDateTimeToDateTime(stamp);
        EXPECT_EQ(DateTimeToQDateTime(value), stamp) << stamp.toString(Qt::ISODateWithMs).toStdString();
    }
    EXPECT_EQ(QDateTimeToDateTime(QDateTime(QDate(2009, 3, 1), QTime(12, 0))), 39873.5);
    EXPECT_EQ(QDateTimeToDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
}

TEST(DateTime, TruncateToSecondDropsMilliseconds)
{
    const TDateTime value = QDateTimeToDateTime(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5, 999)));
    EXPECT_EQ(DecodeDateTime(TruncateToSecond(value)).Time, QTime(3, 4, 5));
    EXPECT_EQ(DecodeDateTime(TruncateToSecond(value)).Date, QDate(2026, 1, 2));
}

TEST(DateTime, StampsBeyondTheCalendarDecodeAsNoDate)
{
    // What a damaged or foreign log file may hold in its time field.
    const TDateTime values[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -5.54508e185, 1e16, -1e16};
    for (TDateTime value : values) {
        const TDateTimeParts parts = DecodeDateTime(value);
        EXPECT_FALSE(parts.Date.isValid()) << value;
        EXPECT_FALSE(parts.Time.isValid()) << value;
        EXPECT_FALSE(FormatDateTime(value).contains(QLatin1Char('-'))) << value;
    }
}
