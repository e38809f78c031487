#include "strings/BlockPool.h"

#include "strings/BufferedFile.h"
#include "strings/FileBufferPool.h"
#include "tests/strings/StringTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

TEST(BlockPool, StrideHoldsTheFreeListLinkAndKeepsBlocksAligned)
{
    const uint32_t word = sizeof(void*);
    EXPECT_EQ(word, CBlockPool(1, 5).Stride());
    EXPECT_EQ(word, CBlockPool(word, 5).Stride());
    EXPECT_EQ(2 * word, CBlockPool(word + 1, 5).Stride());
    EXPECT_EQ(4096u, CBlockPool(4096, 5).Stride());
    EXPECT_EQ(4097u, CBlockPool(4097, 5).BlockSize());

    CBlockPool pool(13, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(pool.Allocate()) % word);
}

TEST(BlockPool, GrowsByWholeChunksAndHandsOutTheLastBlockFirst)
{
    CBlockPool pool(64, 3);
    EXPECT_TRUE(pool.Grow(0));
    EXPECT_EQ(0u, pool.ChunkCount());

    char* first = static_cast<char*>(pool.Allocate());
    char* second = static_cast<char*>(pool.Allocate());
    char* third = static_cast<char*>(pool.Allocate());
    EXPECT_EQ(1u, pool.ChunkCount());
    EXPECT_EQ(3u, pool.TotalBlocks());
    EXPECT_EQ(0u, pool.FreeBlocks());
    // One chunk, blocks one stride apart, the highest address handed out first.
    EXPECT_EQ(first - pool.Stride(), second);
    EXPECT_EQ(second - pool.Stride(), third);

    void* fromSecondChunk = pool.Allocate();
    EXPECT_EQ(2u, pool.ChunkCount());
    EXPECT_EQ(6u, pool.TotalBlocks());
    EXPECT_EQ(2u, pool.FreeBlocks());

    pool.Release(second);
    EXPECT_EQ(second, pool.Allocate()) << "a released block is the next one handed out";
    pool.Release(nullptr);
    EXPECT_EQ(2u, pool.FreeBlocks()) << "a null block must not cut the free list short";

    for (void* block : {static_cast<void*>(first), static_cast<void*>(second),
                        static_cast<void*>(third), fromSecondChunk})
        pool.Release(block);
    EXPECT_EQ(6u, pool.FreeBlocks());

    pool.Reset();
    EXPECT_EQ(0u, pool.ChunkCount());
    EXPECT_EQ(0u, pool.TotalBlocks());
    EXPECT_EQ(0u, pool.FreeBlocks());
    EXPECT_NE(nullptr, pool.Allocate()) << "a reset pool grows again";
}

TEST(BlockPool, BlocksAreDistinctAndUsableToTheirFullSize)
{
    CBlockPool pool(4096, 5);
    std::set<char*> blocks;
    for (int i = 0; i < 12; ++i)
    {
        char* block = static_cast<char*>(pool.Allocate());
        memset(block, i, 4096);
        blocks.insert(block);
    }
    EXPECT_EQ(12u, blocks.size());
    EXPECT_EQ(15u, pool.TotalBlocks());
    int value = 0;
    for (char* block : blocks)
        EXPECT_EQ(std::string(4096, char(block[0])), std::string(block, 4096)) << value++;
}

TEST(BlockPool, RefusesAChunkLargerThanTheAddressSpace)
{
    // 2^31 blocks of 2^31 bytes: the size overflows on 32-bit builds, and on 64-bit builds it
    // is so far beyond the address space that the heap refuses it at once (a chunk of a few
    // terabytes would keep Wine's heap busy for many seconds before it fails).
    CBlockPool pool(0x80000000u, 5);
    EXPECT_FALSE(pool.Grow(0x80000000u));
    EXPECT_EQ(0u, pool.ChunkCount());
    EXPECT_EQ(0u, pool.TotalBlocks());
}

TEST(FileBufferPool, OneFileMoreThanFreeBlocksGrowsByFiveAndAllComeBack)
{
    TempFolder folder;
    folder.WriteFile("data.bin", "x");
    const FileBufferPoolCounters before = ReadFileBufferPoolCounters();
    ASSERT_EQ(before.totalBlocks, before.freeBlocks) << "a block is still held by someone";

    {
        std::vector<std::unique_ptr<CBufferedFile>> files;
        for (uint32_t i = 0; i <= before.freeBlocks; ++i)
        {
            files.push_back(std::make_unique<CBufferedFile>());
            ASSERT_TRUE(files.back()->Open((folder / "data.bin").c_str()));
        }
        const FileBufferPoolCounters open = ReadFileBufferPoolCounters();
        EXPECT_EQ(before.totalBlocks + 5, open.totalBlocks);
        EXPECT_EQ(before.chunks + 1, open.chunks);
        EXPECT_EQ(4u, open.freeBlocks);
    }

    const FileBufferPoolCounters after = ReadFileBufferPoolCounters();
    EXPECT_EQ(before.totalBlocks + 5, after.totalBlocks);
    EXPECT_EQ(after.totalBlocks, after.freeBlocks);
}
