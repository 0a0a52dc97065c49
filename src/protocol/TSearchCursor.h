#pragma once

#include <cstdint>

// What the polling engine needs of the equipment search while SearchMode
// is on. The search window implements it.
class TSearchCursor {
public:
    virtual ~TSearchCursor() = default;

    // Returns the next address to probe. Shall clear the engine's SearchMode
    // when that address lies beyond the end of the range; the engine then
    // sends nothing in that step.
    virtual std::uint8_t NextSearchAddr() = 0;

    // Records an address whose probe was answered validly. Called once per
    // valid reply, after the engine has processed it like any other.
    virtual void AddressFound(std::uint8_t addr) = 0;
};
