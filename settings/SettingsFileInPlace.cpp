#include "settings/SettingsFileInPlace.h"

#include "settings/SettingsFile.h"

#include <string>

namespace
{
bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool read = GetFileSizeEx(file, &size) && IsLoadableSettingsSize(size.QuadPart);
    if (read)
    {
        bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD count = 0;
        read = bytes.empty() ||
               (ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &count, nullptr) &&
                count == bytes.size());
    }
    CloseHandle(file);
    return read;
}

bool Seek(HANDLE file, long long position)
{
    LARGE_INTEGER distance;
    distance.QuadPart = position;
    return SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != FALSE;
}

// Writes `size` bytes at `position`; true only when all of them were taken.
bool WriteAt(HANDLE file, long long position, const char* bytes, DWORD size, FileWriteCall write)
{
    DWORD written = 0;
    return size == 0 ||
           (Seek(file, position) && write(file, bytes, size, &written, nullptr) && written == size);
}

bool CutAt(HANDLE file, long long length)
{
    return Seek(file, length) && SetEndOfFile(file);
}
} // namespace

bool RewriteFileInPlace(const std::string& path, const std::string& sourcePath, FileWriteCall write)
{
    std::string bytes;
    if (!ReadWholeFile(sourcePath, bytes))
        return false;

    // Shared with the program that holds the file, whether it reads or writes.
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;

    LARGE_INTEGER oldSize;
    bool rewritten = GetFileSizeEx(file, &oldSize) != FALSE;
    if (rewritten)
    {
        const long long newSize = static_cast<long long>(bytes.size());
        const long long kept = oldSize.QuadPart < newSize ? oldSize.QuadPart : newSize;
        const char* const tail = bytes.data() + kept;
        if (!WriteAt(file, kept, tail, static_cast<DWORD>(newSize - kept), write))
        {
            CutAt(file, oldSize.QuadPart);
            rewritten = false;
        }
        else
        {
            rewritten = WriteAt(file, 0, bytes.data(), static_cast<DWORD>(kept), write) &&
                        CutAt(file, newSize) && FlushFileBuffers(file);
        }
    }
    CloseHandle(file);
    return rewritten;
}
