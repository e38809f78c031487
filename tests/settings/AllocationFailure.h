#pragma once

#include <cstddef>

// Lets the next `succeeding` allocations of this thread through and fails every one after,
// until the object goes: operator new throws std::bad_alloc, its nothrow form returns null.
// The test program's operator new is replaced for this, so that the code under test runs out
// of memory exactly where it allocates.
class ScopedAllocationFailure
{
public:
    explicit ScopedAllocationFailure(std::size_t succeeding);
    ~ScopedAllocationFailure();
    ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
    ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;
};
