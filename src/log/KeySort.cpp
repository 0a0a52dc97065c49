#include "log/KeySort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <system_error>
#include <thread>

namespace {

// Runs shorter than this are sorted by comparison.
constexpr std::size_t kCompareBelow = 512;
constexpr int kDigitBits = 8;
constexpr int kDigits = 1 << kDigitBits;

struct TRun {
    TSortEntry *First;
    TSortEntry *Last;
};

// What a pass sorts by: the key, or for entries of one key the record.
template <bool ByRecord>
std::uint64_t SortValue(const TSortEntry &e)
{
    return ByRecord ? e.Record : e.Key;
}

// Splits [first, last) in place by the 8 bits below the highest bit in
// which their values differ, and returns the runs of each digit in order.
// Empty when the values are all equal.
template <bool ByRecord>
std::array<TRun, kDigits> SplitByDigit(TSortEntry *first, TSortEntry *last, bool &allEqual)
{
    std::uint64_t low = SortValue<ByRecord>(*first), high = low;
    for (const TSortEntry *e = first; e != last; ++e) {
        low = std::min(low, SortValue<ByRecord>(*e));
        high = std::max(high, SortValue<ByRecord>(*e));
    }
    std::array<TRun, kDigits> runs{};
    allEqual = low == high;
    if (allEqual)
        return runs;
    const int top = 63 - std::countl_zero(low ^ high);
    const int shift = std::max(0, top - (kDigitBits - 1));
    auto digit = [shift](const TSortEntry &e) {
        return static_cast<int>((SortValue<ByRecord>(e) >> shift) & (kDigits - 1));
    };

    std::array<std::size_t, kDigits> count{};
    for (const TSortEntry *e = first; e != last; ++e)
        ++count[static_cast<std::size_t>(digit(*e))];
    std::array<TSortEntry *, kDigits> next{};
    TSortEntry *at = first;
    for (int d = 0; d < kDigits; ++d) {
        runs[d] = {at, at + count[d]};
        next[d] = at;
        at += count[d];
    }
    // Each entry goes straight to the run of its digit, swapping out the one
    // there, until the run being filled gets one of its own.
    for (int d = 0; d < kDigits; ++d)
        while (next[d] != runs[d].Last) {
            TSortEntry moving = *next[d];
            int home = digit(moving);
            while (home != d) {
                std::swap(moving, *next[home]++);
                home = digit(moving);
            }
            *next[d]++ = moving;
        }
    return runs;
}

template <bool ByRecord>
void SortRun(TSortEntry *first, TSortEntry *last)
{
    if (static_cast<std::size_t>(last - first) < kCompareBelow) {
        std::sort(first, last);
        return;
    }
    bool allEqual = false;
    const std::array<TRun, kDigits> runs = SplitByDigit<ByRecord>(first, last, allEqual);
    if (allEqual) {
        // Entries of one key go by record number (the numbers are unique,
        // so that pass always ends).
        if constexpr (!ByRecord)
            SortRun<true>(first, last);
        return;
    }
    for (const TRun &run : runs)
        SortRun<ByRecord>(run.First, run.Last);
}

} // namespace

std::uint64_t OrderedKey(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value + 0.0); // + 0.0 makes -0 into 0
    constexpr std::uint64_t kSign = std::uint64_t{1} << 63;
    return (bits & kSign) ? ~bits : bits | kSign;
}

void SortEntries(TSortEntry *entries, std::size_t count)
{
    TSortEntry *const last = entries + count;
    if (std::is_sorted(entries, last))
        return; // a time column of a file written in time order, for one
    if (count < kCompareBelow) {
        std::sort(entries, last);
        return;
    }
    bool allEqual = false;
    const std::array<TRun, kDigits> runs = SplitByDigit<false>(entries, last, allEqual);
    if (allEqual) {
        SortRun<true>(entries, last);
        return;
    }
    // The runs up to about half the entries on a second thread, the rest here.
    std::size_t firstShare = 0, half = 0;
    while (firstShare < runs.size() && half < count / 2)
        half += static_cast<std::size_t>(runs[firstShare].Last - runs[firstShare].First), ++firstShare;
    auto sortRuns = [&runs](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            SortRun<false>(runs[i].First, runs[i].Last);
    };
    std::thread second;
    try {
        second = std::thread(sortRuns, 0, firstShare);
    } catch (const std::system_error &) {
        sortRuns(0, firstShare); // no thread to be had: one after the other
    }
    sortRuns(firstShare, runs.size());
    if (second.joinable())
        second.join();
}
