#include "service/TMetricsWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TMetricsWriter, ValuesAreTheDecimalsTheUnitsSent)
{
    const struct {
        double Value;
        const char *Text;
    } cases[] = {
        {230.1, "230.1"},
        {2207 * 0.1, "220.7"},
        {0.1 + 0.2, "0.3"},
        {0.0, "0"},
        {0.46, "0.46"},
        {-12.5, "-12.5"},
        {1767268800.123, "1767268800.123"},
        {1e-7, "1e-07"},
        {std::numeric_limits<double>::quiet_NaN(), "NaN"},
        {std::numeric_limits<double>::infinity(), "+Inf"},
        {-std::numeric_limits<double>::infinity(), "-Inf"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TMetricsWriter::FormatValue(c.Value), QByteArray(c.Text)) << c.Text;
}

TEST(TMetricsWriter, LabelValuesAndHelpAreEscaped)
{
    const struct {
        const char *Value;
        const char *Escaped;
    } labels[] = {
        {"UPS 1", "UPS 1"},
        {"Hall \"B\"", "Hall \\\"B\\\""},
        {"C:\\rack\\3", "C:\\\\rack\\\\3"},
        {"two\nlines", "two\\nlines"},
        {"机房 一号", "机房 一号"},
    };
    for (const auto &c : labels)
        EXPECT_EQ(TMetricsWriter::EscapeLabelValue(QString::fromUtf8(c.Value)), QByteArray(c.Escaped)) << c.Value;

    // HELP keeps its quotes: only backslashes and line ends are escaped.
    EXPECT_EQ(TMetricsWriter::EscapeHelp("a \"b\" c\\d\ne"), QByteArray("a \"b\" c\\\\d\\ne"));
}

TEST(TMetricsWriter, EachMetricIsOneGroupWithHelpAndType)
{
    TMetricsWriter out;
    out.Family("orvan_link_state", "gauge", "Link to the unit.");
    out.Sample({{"address", "1"}, {"name", "A \"1\""}}, 0.0);
    out.Sample({{"address", "2"}, {"name", "B"}}, 2.0);
    out.Family("orvan_bus_frames_sent_total", "counter", "Frames sent.");
    out.Sample({}, std::uint64_t{18446744073709551615u});
    EXPECT_EQ(out.Text(), QByteArray("# HELP orvan_link_state Link to the unit.\n"
                                     "# TYPE orvan_link_state gauge\n"
                                     "orvan_link_state{address=\"1\",name=\"A \\\"1\\\"\"} 0\n"
                                     "orvan_link_state{address=\"2\",name=\"B\"} 2\n"
                                     "# HELP orvan_bus_frames_sent_total Frames sent.\n"
                                     "# TYPE orvan_bus_frames_sent_total counter\n"
                                     "orvan_bus_frames_sent_total 18446744073709551615\n"));
}
