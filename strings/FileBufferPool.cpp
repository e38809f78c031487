#include "strings/FileBufferPool.h"

#include <windows.h>

namespace
{
constexpr uint32_t kGrowCount = 5;

CRITICAL_SECTION g_fileBufferPoolLock;

class CLock
{
public:
    CLock() { EnterCriticalSection(&g_fileBufferPoolLock); }
    ~CLock() { LeaveCriticalSection(&g_fileBufferPoolLock); }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;
};
} // namespace

// Defined before its lifetime object below: objects of one file are constructed in order
// of definition and destroyed in reverse, so the pool exists for the whole lifetime.
CBlockPool g_fileBufferPool(kFileBufferSize, kGrowCount);

namespace
{
// Creates the lock and the first chunk during static initialisation, before the
// application object starts its work, and clears the pool and deletes the lock at exit.
class CFileBufferPoolLifetime
{
public:
    CFileBufferPoolLifetime()
    {
        InitializeCriticalSection(&g_fileBufferPoolLock);
        g_fileBufferPool.Grow(kGrowCount);
    }
    ~CFileBufferPoolLifetime()
    {
        g_fileBufferPool.Reset();
        DeleteCriticalSection(&g_fileBufferPoolLock);
    }
    CFileBufferPoolLifetime(const CFileBufferPoolLifetime&) = delete;
    CFileBufferPoolLifetime& operator=(const CFileBufferPoolLifetime&) = delete;
};

CFileBufferPoolLifetime g_fileBufferPoolLifetime;
} // namespace

void* AcquireFileBuffer()
{
    CLock lock;
    return g_fileBufferPool.Allocate();
}

void ReleaseFileBuffer(void* buffer)
{
    CLock lock;
    g_fileBufferPool.Release(buffer);
}

FileBufferPoolCounters ReadFileBufferPoolCounters()
{
    CLock lock;
    return {g_fileBufferPool.TotalBlocks(), g_fileBufferPool.ChunkCount(),
            g_fileBufferPool.FreeBlocks()};
}
