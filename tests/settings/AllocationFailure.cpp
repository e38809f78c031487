#include "tests/settings/AllocationFailure.h"

#include <cstdlib>
#include <new>

namespace
{
// How many more allocations succeed; negative while no failure is armed.
thread_local long long t_succeeding = -1;

void* Allocate(std::size_t size) noexcept
{
    if (t_succeeding == 0)
        return nullptr;
    if (t_succeeding > 0)
        --t_succeeding;
    return std::malloc(size != 0 ? size : 1);
}

void* AllocateOrThrow(std::size_t size)
{
    void* memory = Allocate(size);
    if (memory == nullptr)
        throw std::bad_alloc();
    return memory;
}
} // namespace

ScopedAllocationFailure::ScopedAllocationFailure(std::size_t succeeding)
{
    t_succeeding = static_cast<long long>(succeeding);
}

ScopedAllocationFailure::~ScopedAllocationFailure()
{
    t_succeeding = -1;
}

void* operator new(std::size_t size)
{
    return AllocateOrThrow(size);
}

void* operator new[](std::size_t size)
{
    return AllocateOrThrow(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return Allocate(size);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}
