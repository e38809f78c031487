#pragma once

#include <cstring>
#include <memory>

// What a settings file held when it was read: whether it existed, its size, its last write
// time and its bytes. A later read that gives an equal state found the file unchanged.
struct SettingsFileState
{
    bool exists = false;
    long long size = 0;
    unsigned long long lastWriteTime = 0;
    // The `size` bytes of the file and a zero byte after them; null when it did not exist.
    std::unique_ptr<char[]> bytes;

    bool operator==(const SettingsFileState& other) const
    {
        return exists == other.exists && size == other.size &&
               lastWriteTime == other.lastWriteTime &&
               (size == 0 ||
                memcmp(bytes.get(), other.bytes.get(), static_cast<size_t>(size)) == 0);
    }
};

// The largest settings file that is read: 64 MiB.
constexpr long long kMaxSettingsFileSize = 64LL << 20;

// True when a file of `size` bytes is read at all: from 0 to kMaxSettingsFileSize bytes.
bool IsLoadableSettingsSize(long long size);

// The size, write time and bytes of the open `file` (a HANDLE, read from its start) into
// `state`. Bytes that a short read did not deliver count as zero bytes. False, with the reason
// in GetLastError, when the file cannot be sized or read, is too big to be read, or its bytes
// cannot be held in memory. This header names no Windows type, so that the portable code that
// includes it builds anywhere.
bool ReadSettingsFileState(void* file, SettingsFileState& state);
