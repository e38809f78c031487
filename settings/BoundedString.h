#pragma once

#include <cstddef>

// Copies into a fixed narrow buffer of `size` bytes. A null source counts as "". At most
// size - 1 characters are copied, the rest of those bytes is zero-filled, and the last byte
// is always 0. A null destination or a size of 0 leaves everything untouched.
void BoundedCopy(char* destination, const char* source, size_t size);

// Appends to the terminated string in a fixed buffer of `size` bytes, keeping the last byte
// 0. A destination that holds no terminator within `size` bytes is cut to size - 1
// characters instead of being read or written past its end.
void BoundedAppend(char* destination, const char* source, size_t size);
