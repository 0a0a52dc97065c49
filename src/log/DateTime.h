#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <functional>

// The time stamp of our log records: days since 30 December 1899 (day 0) in
// local time, the fraction being the elapsed part of the day. Before day 0
// the fraction still counts forwards from midnight (-1.25 is 29 December
// 1899, 06:00), as files written by earlier versions expect.
using TDateTime = double;

// The calendar date and the time of day a stamp stands for, to the
// millisecond; no time zone is involved.
struct TDateTimeParts {
    QDate Date;
    QTime Time;
};

TDateTimeParts DecodeDateTime(TDateTime value);
TDateTime EncodeDateTime(const QDate &date, const QTime &time);

// Local wall-clock conversions.
QDateTime DateTimeToQDateTime(TDateTime value);
TDateTime QDateTimeToDateTime(const QDateTime &value);

// "yyyy-mm-dd hh:mm:ss", 24-hour clock, zero-padded.
QString FormatDateTime(TDateTime value);

// The same stamp with its milliseconds dropped.
TDateTime TruncateToSecond(TDateTime value);

// Where rules that stamp records get "now" from; tests set their own.
using TClock = std::function<TDateTime()>;

// The local clock, to the millisecond.
TDateTime LocalNow();
