#pragma once

#include <bit>
#include <cstdint>
#include <type_traits>

// Reading and writing the fixed little-endian records of our files, the same
// on every host. Doubles travel as their IEEE 754 binary64 bit pattern.

// The unsigned integer type of the same width as T.
template <typename T>
using UnsignedOfSize = std::conditional_t<sizeof(T) == 8, std::uint64_t,
                       std::conditional_t<sizeof(T) == 4, std::uint32_t,
                       std::conditional_t<sizeof(T) == 2, std::uint16_t, std::uint8_t>>>;

template <typename T>
inline void PutLE(std::uint8_t *out, T value)
{
    using Bits = UnsignedOfSize<T>;
    auto bits = std::bit_cast<Bits>(value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        out[i] = static_cast<std::uint8_t>(bits & 0xFF);
        bits = static_cast<Bits>(bits >> 8);
    }
}

template <typename T>
inline T GetLE(const std::uint8_t *in)
{
    using Bits = UnsignedOfSize<T>;
    Bits bits = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        bits = static_cast<Bits>((bits << 8) | in[i]);
    return std::bit_cast<T>(bits);
}
