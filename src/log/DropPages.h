#pragma once

#include <cstddef>

// Gives the memory pages that lie wholly inside [data, data + bytes) back to
// the system without freeing the allocation: their content is lost (they
// read as zeros when touched again) and they stop counting as the program's
// memory until they are written again. For large buffers whose content is no
// longer needed but whose allocation is (it is reused, or freed later).
// Does nothing where the system offers no such call.
void DropPages(void *data, std::size_t bytes);
