#pragma once

#include "strings/BlockAllocator.h"

#include <cstddef>
#include <cstdint>

// A pool of fixed-size blocks carved from chunks on the heap. A chunk is one heap array: a
// header of two machine words (the next chunk, the number of blocks in the chunk) followed by
// its blocks, each one stride long. Free blocks form a list linked through their first word.
// Blocks are never freed one by one; chunks go back to the heap only when the pool is reset.
// The pool has no lock of its own.
class CBlockPool : public IBlockAllocator
{
public:
    CBlockPool(uint32_t blockSize, uint32_t growCount);
    ~CBlockPool() override;
    CBlockPool(const CBlockPool&) = delete;
    CBlockPool& operator=(const CBlockPool&) = delete;

    // Takes the top free block, first growing by the grow count when none is free.
    void* Allocate() override;
    void Release(void* block) override;
    void Reset() override;

    // Adds one chunk of `count` blocks. False, with nothing changed, when the heap gives no
    // chunk. Growing by 0 succeeds without allocating.
    bool Grow(uint32_t count);

    uint32_t BlockSize() const { return m_blockSize; }
    uint32_t Stride() const { return m_stride; }
    uint32_t ChunkCount() const { return m_chunkCount; }
    uint32_t TotalBlocks() const { return m_totalBlocks; }
    // Counts the free list; meant for checks, not for hot paths.
    uint32_t FreeBlocks() const;

private:
    struct ChunkHeader;
    struct FreeBlock;

    uint32_t m_blockSize;
    uint32_t m_stride;
    uint32_t m_growCount;
    uint32_t m_chunkCount = 0;
    uint32_t m_totalBlocks = 0;
    ChunkHeader* m_chunks = nullptr;
    FreeBlock* m_freeList = nullptr;
};
