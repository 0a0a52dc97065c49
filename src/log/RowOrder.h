#pragma once

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <vector>

// The order rows are shown in: row i on screen is record order[i]. Sorting
// builds one key per record first and then sorts the indices, stably, so
// rows with equal keys keep their file order in both directions.
template <typename Key, typename KeyOf>
std::vector<std::uint32_t> SortedRowOrder(std::size_t count, KeyOf keyOf, bool descending)
{
    std::vector<Key> keys;
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        keys.push_back(keyOf(i));
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    if (descending)
        std::stable_sort(order.begin(), order.end(), [&keys](std::uint32_t a, std::uint32_t b) { return keys[b] < keys[a]; });
    else
        std::stable_sort(order.begin(), order.end(), [&keys](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    return order;
}
