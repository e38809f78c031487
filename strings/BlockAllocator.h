#pragma once

// An allocator of fixed-size blocks.
class IBlockAllocator
{
public:
    virtual ~IBlockAllocator() {}
    // A block, or null when none can be had.
    virtual void* Allocate() = 0;
    // Takes back a block that Allocate handed out.
    virtual void Release(void* block) = 0;
    // Frees all memory at once; blocks still handed out become invalid.
    virtual void Reset() = 0;
};
