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
