#pragma once

#include "log/TDataRec.h"
#include "log/TSummaryBucket.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The summary of one month file of the data log: per device and hour of the
// month, the count, lowest, highest and mean of each value (TSummaryBucket).
// It lies beside the month file, "DataLog2026_01.sum" beside
// "DataLog2026_01.dat", and is only ever a shortcut: the month file can
// rebuild it at any time, and a summary that does not match its month file
// (missing, behind it, damaged, of another version) is never read.
//
// File layout, little-endian: a 512-byte header ("OrvanSum", version 1,
// bucket size 224, 744 buckets per device, year, month, number of devices,
// a checksum of the header, number of month file records it covers, the
// block number of every address), then one block per device that has
// records, 744 buckets of 224 bytes (each with its own checksum), one per
// hour from the 1st at 00:00 (day 31 at 23:00 is the last).
class TDataSummary {
public:
    static constexpr int kHeaderSize = 512;
    static constexpr int kHoursPerBlock = 31 * 24;
    static constexpr qint64 kBlockSize = qint64{kHoursPerBlock} * TSummaryBucket::kSize;

    enum class TState {
        Current, // matches the month file
        Missing, // there is no summary
        Behind,  // covers fewer records than the file has, or is older than it
        Damaged, // not a summary of this version, or sizes that do not agree
        NoMonth, // there is no month file (or its name is not a month file's)
    };

    // Hears (records read, records in all) while a summary is rebuilt, and
    // returns false to stop.
    using TProgress = std::function<bool(qint64 done, qint64 total)>;

    // The summary of the month file at `monthFilePath` ("DataLogYYYY_MM.dat").
    explicit TDataSummary(QString monthFilePath);

    const QString &MonthFilePath() const { return FMonthPath; }
    const QString &SummaryPath() const { return FSummaryPath; }
    int Year() const { return FYear; }
    int Month() const { return FMonth; }

    TState State() const;

    // Writes the summary afresh from the month file, as a whole: the old one
    // stays until the new one is complete. Records the file gains meanwhile
    // are taken in too. False when `progress` stopped it; throws
    // ELogFileError when the month file cannot be read or the summary
    // cannot be written.
    bool Rebuild(const TProgress &progress = {}) const;

    // Rebuilds unless current. False when `progress` stopped it.
    bool MakeCurrent(const TProgress &progress = {}) const;

    // Takes in the record the data log has just appended as record
    // `recordNumber` of the month file. A month file's first record starts
    // a new summary; a later one is taken in only by a summary that covers
    // exactly the records before it. Any other summary is left as it is,
    // and is rebuilt when next wanted. False when the summary was not
    // brought up to date; never throws.
    bool Add(const TDataRec &rec, std::uint32_t recordNumber) const;

    // The 744 hourly buckets of one device, all empty when the device has
    // no records. Empty (nullopt) when the summary is not current or its
    // buckets do not hold up to reading.
    std::optional<std::vector<TSummaryBucket>> DeviceBuckets(std::uint8_t addr) const;

    // The buckets of one device worked out from the month file alone, for
    // a summary that cannot be written; nullopt when `progress` stopped it.
    std::optional<std::vector<TSummaryBucket>> ScanDevice(std::uint8_t addr, const TProgress &progress = {}) const;

    // The hour of the month (0 for the 1st, 00:00 to 00:59:59) of a stamp
    // in month `year`/`month`, or -1 for a stamp outside it.
    static int HourOfMonth(TDateTime time, int year, int month);
    // The first stamp of the hour.
    static TDateTime HourStart(int year, int month, int hour);

    // "DataLog2026_01.sum" for "DataLog2026_01.dat".
    static QString SummaryPathFor(const QString &monthFilePath);

private:
    QString FMonthPath;
    QString FSummaryPath;
    int FYear = 0;
    int FMonth = 0;
};
