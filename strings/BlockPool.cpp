#include "strings/BlockPool.h"

#include <cstdint>
#include <cstdlib>

// Two machine words: on the 32-bit build exactly the two 32-bit words of the chunk layout;
// on 64-bit builds the link needs a full pointer, and 16 bytes keep the blocks aligned.
struct CBlockPool::ChunkHeader
{
    ChunkHeader* next;
    uintptr_t blockCount;
};

struct CBlockPool::FreeBlock
{
    FreeBlock* next;
};

namespace
{
// A stride holds the free-list link and keeps every block aligned for it. On the 32-bit
// build this is "at least 4, rounded up to a multiple of 4".
uint32_t StrideFor(uint32_t blockSize)
{
    const uint32_t word = sizeof(void*);
    const uint32_t atLeastWord = blockSize < word ? word : blockSize;
    return (atLeastWord + word - 1) / word * word;
}
} // namespace

CBlockPool::CBlockPool(uint32_t blockSize, uint32_t growCount)
    : m_blockSize(blockSize), m_stride(StrideFor(blockSize)), m_growCount(growCount)
{
}

CBlockPool::~CBlockPool()
{
    Reset();
}

bool CBlockPool::Grow(uint32_t count)
{
    if (count == 0)
        return true;
    if (count > (SIZE_MAX - sizeof(ChunkHeader)) / m_stride)
        return false;

    void* memory = malloc(sizeof(ChunkHeader) + size_t(count) * m_stride);
    if (memory == nullptr)
        return false;

    ChunkHeader* chunk = static_cast<ChunkHeader*>(memory);
    chunk->next = m_chunks;
    chunk->blockCount = count;
    m_chunks = chunk;
    ++m_chunkCount;
    m_totalBlocks += count;

    // Pushed in address order, so the chunk's last block ends on top and goes out first.
    char* block = reinterpret_cast<char*>(chunk + 1);
    for (uint32_t i = 0; i < count; ++i, block += m_stride)
        Release(block);
    return true;
}

void* CBlockPool::Allocate()
{
    if (m_freeList == nullptr)
        Grow(m_growCount);
    FreeBlock* block = m_freeList;
    if (block != nullptr)
        m_freeList = block->next;
    return block;
}

void CBlockPool::Release(void* block)
{
    // A null block would cut the free list short and lose every block below it.
    if (block == nullptr)
        return;
    FreeBlock* freed = static_cast<FreeBlock*>(block);
    freed->next = m_freeList;
    m_freeList = freed;
}

void CBlockPool::Reset()
{
    while (m_chunks != nullptr)
    {
        ChunkHeader* next = m_chunks->next;
        free(m_chunks);
        m_chunks = next;
    }
    m_freeList = nullptr;
    m_chunkCount = 0;
    m_totalBlocks = 0;
}

uint32_t CBlockPool::FreeBlocks() const
{
    uint32_t count = 0;
    for (const FreeBlock* block = m_freeList; block != nullptr; block = block->next)
        ++count;
    return count;
}
