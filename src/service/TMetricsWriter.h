#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <utility>
#include <vector>

// Writes the Prometheus text exposition format, version 0.0.4: each metric
// as one group of lines, HELP and TYPE first, then its samples. Label
// values and HELP texts are escaped as the format asks, so a device name
// with quotes, backslashes or line ends cannot break a line.
class TMetricsWriter
{
public:
    using TLabels = std::vector<std::pair<const char *, QString>>;

    static constexpr const char *kContentType = "text/plain; version=0.0.4; charset=utf-8";

    // Starts the group of a metric; type is "gauge" or "counter".
    void Family(const char *name, const char *type, const char *help);
    // A sample of the metric of the last Family call.
    void Sample(const TLabels &labels, double value);
    void Sample(const TLabels &labels, std::uint64_t value);

    const QByteArray &Text() const { return FText; }

    // The value with at most 15 significant digits, "NaN", "+Inf" or "-Inf".
    static QByteArray FormatValue(double value);
    // Backslash, double quote and line feed escaped.
    static QByteArray EscapeLabelValue(QStringView value);
    // Backslash and line feed escaped.
    static QByteArray EscapeHelp(const char *help);

private:
    void SampleLine(const TLabels &labels, const QByteArray &value);

    QByteArray FText;
    QByteArray FName;
};
