#pragma once

// printf-style formatting into a fixed narrow buffer of `size` bytes. Never writes past the
// buffer and always leaves byte size - 1 at 0, so at most size - 1 characters survive.
// Returns what _vsnprintf returned (the count written, or negative when the output did not
// fit), or -1 without writing anything for a null buffer or a size below 1 (a negative
// size would otherwise be taken as a huge one). A null format counts as "".
int BoundedFormat(char* buffer, int size, const char* format, ...);
