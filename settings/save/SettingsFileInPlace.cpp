#include "settings/save/SettingsFileInPlace.h"

#include "settings/save/BriefHoldRetry.h"
#include "settings/SettingsFile.h"

#include <algorithm>
#include <string>

namespace
{
bool Seek(HANDLE file, long long position)
{
    LARGE_INTEGER distance;
    distance.QuadPart = position;
    return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != FALSE;
}

// The first `size` bytes of `file`; true only when all of them were read.
bool ReadBytes(HANDLE file, long long size, std::string& bytes)
{
    bytes.assign(static_cast<size_t>(size), '\0');
    DWORD count = 0;
    return bytes.empty() ||
           (Seek(file, 0) && ReadFile(file, &bytes[0], static_cast<DWORD>(size), &count, nullptr) &&
            count == bytes.size());
}

// Writes `size` bytes at `position`; true only when all of them were taken.
bool WriteAt(HANDLE file, long long position, const char* bytes, size_t size, FileWriteCall write)
{
    DWORD written = 0;
    return size == 0 ||
           (Seek(file, position) &&
            write(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size);
}

bool CutAt(HANDLE file, long long length)
{
    return Seek(file, length) && SetEndOfFile(file);
}

InPlaceResult KeptUnless(bool damaged)
{
    return damaged ? InPlaceResult::FailedFileDamaged : InPlaceResult::FailedFileKept;
}

// Puts `bytes` over `old`, the file's present content, all or nothing.
InPlaceResult Overwrite(HANDLE file, const std::string& old, const std::string& bytes,
                        FileWriteCall write)
{
    const size_t kept = std::min(old.size(), bytes.size());
    const long long oldSize = static_cast<long long>(old.size());
    if (!WriteAt(file, oldSize, bytes.data() + kept, bytes.size() - kept, write))
        return KeptUnless(!CutAt(file, oldSize));
    if (WriteAt(file, 0, bytes.data(), kept, write) &&
        CutAt(file, static_cast<long long>(bytes.size())) && FlushFileBuffers(file))
        return InPlaceResult::Rewritten;

    // Writing back the old bytes needs no more room than the old file had.
    const bool restored = WriteAt(file, 0, old.data(), old.size(), write) && CutAt(file, oldSize) &&
                          FlushFileBuffers(file);
    return KeptUnless(!restored);
}
} // namespace

InPlaceResult RewriteFileInPlace(HANDLE file, const std::string& bytes, FileWriteCall write,
                                 const std::string& path, CBriefHoldRetry& retry)
{
    LARGE_INTEGER oldSize;
    if (!GetFileSizeEx(file, &oldSize) || !IsLoadableSettingsSize(oldSize.QuadPart))
        return InPlaceResult::FailedFileKept;
    const long long length = std::max(oldSize.QuadPart, static_cast<long long>(bytes.size()));
    if (length == 0)
        return InPlaceResult::Rewritten;

    const DWORD low = static_cast<DWORD>(length);
    const DWORD high = static_cast<DWORD>(length >> 32);
    OVERLAPPED range = {};
    const auto lock = [&]
    {
        return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, low, high,
                          &range) != FALSE;
    };
    if (!retry.Run(path, lock))
        return InPlaceResult::FailedFileKept;
    std::string old;
    const InPlaceResult result = ReadBytes(file, oldSize.QuadPart, old)
                                     ? Overwrite(file, old, bytes, write)
                                     : InPlaceResult::FailedFileKept;
    UnlockFileEx(file, 0, low, high, &range);
    return result;
}
