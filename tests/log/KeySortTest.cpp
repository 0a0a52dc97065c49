#include "log/KeySort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

TEST(KeySort, OrdersByKeyThenRecordLikeAComparisonSort)
{
    // Keys drawn from few values (an address column), from a narrow band
    // (voltages), from everywhere, and sorted or reversed already; sizes
    // below and well above the point where the radix passes start.
    std::mt19937_64 random(7);
    auto keys = [&](int kind, std::size_t i) -> std::uint64_t {
        switch (kind) {
        case 0:
            return OrderedKey(static_cast<double>(random() % 252 + 1));
        case 1:
            return OrderedKey(215.0 + static_cast<double>(random() % 100000) / 10000);
        case 2:
            return random();
        case 3:
            return OrderedKey(static_cast<double>(i / 252));
        default:
            return OrderedKey(-static_cast<double>(i));
        }
    };
    for (std::size_t count : {std::size_t{300}, std::size_t{200000}})
        for (int kind = 0; kind < 5; ++kind) {
            std::vector<TSortEntry> entries(count);
            for (std::size_t i = 0; i < count; ++i)
                entries[i] = {keys(kind, i), static_cast<std::uint32_t>(i)};
            std::vector<TSortEntry> expected = entries;
            std::sort(expected.begin(), expected.end());
            SortEntries(entries.data(), entries.size());
            for (std::size_t i = 0; i < count; ++i)
                ASSERT_EQ(entries[i].Record, expected[i].Record) << kind << " " << count << " " << i;
        }
}

TEST(KeySort, KeysKeepTheOrderOfTheNumbers)
{
    const double numbers[] = {-std::numeric_limits<double>::infinity(), -1e300, -2.5, -0.0, 0.0, 1e-300, 0.1, 230.4,
                              1e300, std::numeric_limits<double>::infinity()};
    for (std::size_t i = 1; i < std::size(numbers); ++i)
        EXPECT_EQ(OrderedKey(numbers[i - 1]) < OrderedKey(numbers[i]), numbers[i - 1] < numbers[i]) << numbers[i];
    EXPECT_EQ(OrderedKey(-0.0), OrderedKey(0.0));
}
