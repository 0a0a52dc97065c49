#include "model/ValueFormat.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <limits>

namespace {

struct FixedCase {
    double value;
    int decimals;
    const char *expected;
};

struct SignificantCase {
    double value;
    int significant;
    int decimals;
    const char *expected;
};

} // namespace

TEST(ValueFormat, FixedRoundsHalfAwayFromZeroWithAPoint)
{
    // A comma locale must not leak into the texts.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const FixedCase cases[] = {
        {220.0, 1, "220.0"},   {219.96, 1, "220.0"}, {219.94, 1, "219.9"},
        {45.6, 0, "46"},       {44.5, 0, "45"},      {-44.5, 0, "-45"},
        {0.15, 1, "0.2"},      {-0.04, 1, "0.0"},    {0.0, 0, "0"},
        {2.345, 2, "2.35"},    {1.8, 2, "1.80"},     {65535.0, 1, "65535.0"},
        {1e17, 1, "100000000000000000.0"},
    };
    for (const FixedCase &c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals).toStdString(), c.expected)
            << c.value << " with " << c.decimals;
    QLocale::setDefault(previous);
}

TEST(ValueFormat, NonFiniteValuesStillGiveAText)
{
    EXPECT_FALSE(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 1).isEmpty());
    EXPECT_FALSE(FormatFixed(std::numeric_limits<double>::infinity(), 1).isEmpty());
    EXPECT_FALSE(FormatFixedSignificant(std::numeric_limits<double>::quiet_NaN(), 5, 1).isEmpty());
}

TEST(ValueFormat, FixedSignificantLimitsDigits)
{
    const SignificantCase cases[] = {
        {230.46, 5, 1, "230.5"},      {50.0, 5, 1, "50.0"},        {12345.67, 5, 1, "12346.0"},
        {1234.56, 5, 1, "1234.6"},    {0.04, 5, 1, "0.0"},         {0.0, 5, 1, "0.0"},
        {-230.46, 5, 1, "-230.5"},    {99.99, 5, 1, "100.0"},      {87.6, 4, 0, "88"},
        {9999.4, 4, 0, "9999"},       {100000.0, 5, 1, "1.0000E+05"}, {99999.96, 5, 1, "1.0000E+05"},
        {10000.0, 4, 0, "1.000E+04"}, {9999.6, 4, 0, "1.000E+04"},
    };
    for (const SignificantCase &c : cases)
        EXPECT_EQ(FormatFixedSignificant(c.value, c.significant, c.decimals).toStdString(), c.expected)
            << c.value << " with " << c.significant << "/" << c.decimals;
}

TEST(ValueFormat, FieldsCarryTheirUnits)
{
    EXPECT_EQ(FormatVoltage(219.96), QStringLiteral("220.0 V"));
    EXPECT_EQ(FormatVoltage(0.0), QStringLiteral("0.0 V"));
    EXPECT_EQ(FormatLoadPercent(45.6), QStringLiteral("46 %"));
    EXPECT_EQ(FormatLoadPercent(0.0), QStringLiteral("0 %"));
}
