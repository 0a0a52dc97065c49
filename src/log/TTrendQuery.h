#pragma once

#include "log/TTrendSeries.h"

#include <QString>

#include <functional>
#include <optional>

class TDataSummary;

// Reads one device's trend for a period from the month files of the data
// log, however many months it spans: every sample for short periods, the
// hourly summaries for long ones. Summaries that are missing or behind
// their month file are rebuilt first (or, where they cannot be written,
// the month file is read instead). The samples of a period are read only
// from the part of each month file that the summary says holds the
// device's records in it.
class TTrendQuery {
public:
    // Periods up to this long are read sample by sample.
    static constexpr double kSamplePeriodDays = 8;

    enum class TStep { Summarising, Reading };
    // Hears what is being done to which month file, and how far it has
    // got; returns false to stop.
    using TProgress = std::function<bool(TStep step, const QString &monthFile, qint64 done, qint64 total)>;

    explicit TTrendQuery(QString recordDir);

    static TTrendResolution ResolutionFor(TDateTime from, TDateTime to);

    // The points of device `addr` in [from, to); nullopt when `progress`
    // stopped it. Throws ELogFileError when a month file cannot be read.
    std::optional<TTrendSeries> Load(std::uint8_t addr, TDateTime from, TDateTime to, TTrendResolution resolution,
                                     const TProgress &progress = {}) const;

    // The month files of the period that exist, oldest first.
    QStringList MonthFiles(TDateTime from, TDateTime to) const;

    // 2.5 times the usual spacing of the samples: a longer pause between
    // two is a gap.
    static double GapBetweenSamples(const std::vector<TTrendPoint> &points);

private:
    bool LoadMonth(TTrendSeries &series, const TDataSummary &summary, const TProgress &progress) const;

    QString FRecordDir;
};
