#pragma once

#include "strings/BlockPool.h"

#include <cstdint>

// Size of every file read buffer, in bytes.
constexpr uint32_t kFileBufferSize = 4096;

// The process-wide pool of file read buffers. Static initialisation gives it one chunk of 5
// blocks before the entry point runs (no static object may open a file); it grows by 5
// whenever it runs empty and is cleared at exit. Use it only through the functions below,
// which take the pool's lock.
extern CBlockPool g_fileBufferPool;

// A 4096-byte block, or null when the pool is empty and cannot grow.
void* AcquireFileBuffer();
// Gives a block from AcquireFileBuffer back to the pool.
void ReleaseFileBuffer(void* buffer);

struct FileBufferPoolCounters
{
    uint32_t totalBlocks;
    uint32_t chunks;
    uint32_t freeBlocks;
};

// A consistent snapshot of the pool's counters, taken under its lock.
FileBufferPoolCounters ReadFileBufferPoolCounters();
