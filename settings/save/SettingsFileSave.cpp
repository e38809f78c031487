#include "settings/save/SettingsFileSave.h"

#include "settings/SettingsTokenizer.h"
#include "settings/save/SettingsFileInPlace.h"
#include "settings/save/TemporarySettingsFile.h"

#include <utility>

namespace
{
// The attributes a program can set and a replacing file should keep.
const DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Saves tried in one WriteSettingsFile when other programs keep changing the file.
const int kSaveTries = 3;

std::vector<BYTE> AccessRights(HANDLE file)
{
    DWORD size = 0;
    GetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> descriptor(size);
    if (size == 0 ||
        !GetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, descriptor.data(), size, &size))
        descriptor.clear();
    return descriptor;
}

// The bytes a text-mode write puts on the disk: each line feed becomes CR LF.
std::string OnDisk(const std::string& text)
{
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 8);
    for (const char byte : text)
    {
        if (byte == '\n')
            bytes += '\r';
        bytes += byte;
    }
    return bytes;
}

bool NameTaken(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// Whether a load reads `bytes` back: a save that went past its limits would leave a file that
// every later load and save refuses.
bool WithinLoadLimits(const std::string& bytes)
{
    if (!IsLoadableSettingsSize(static_cast<long long>(bytes.size())))
        return false;
    size_t tokens = 0;
    MeasureSettingsTokens(bytes.data(), bytes.size(), &tokens);
    return tokens <= kMaxSettingsTokens;
}

unsigned long long WriteTime(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
} // namespace

CSettingsFileSave::CSettingsFileSave(const SettingsFileCalls& calls)
    : m_calls(calls), m_folder(m_calls)
{
}

CSettingsFileSave::~CSettingsFileSave()
{
    Release();
}

void CSettingsFileSave::Release()
{
    if (m_held != INVALID_HANDLE_VALUE)
        CloseHandle(m_held);
    m_held = INVALID_HANDLE_VALUE;
}

SettingsWriteResult CSettingsFileSave::Begin(const std::string& path, CSettingsFile& settings)
{
    settings = CSettingsFile();
    m_path = path;
    if (path.empty())
        return SettingsWriteResult::OpenFailed;
    if (!m_folder.Open(path))
        return GetLastError() == ERROR_CANT_ACCESS_FILE ? SettingsWriteResult::ReadFailed
                                                        : SettingsWriteResult::OpenFailed;

    // Shared with readers, and with deletion so that a POSIX rename may replace it; not with
    // writers, until the new file is in place.
    const auto open = [this]
    {
        m_held = m_folder.OpenFile(m_folder.FileName(), GENERIC_READ | GENERIC_WRITE | READ_CONTROL,
                                   FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN);
        return m_held != INVALID_HANDLE_VALUE;
    };
    if (!m_retry.Run(path, open))
    {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return SettingsWriteResult::Written;
        if (error == ERROR_CANT_ACCESS_FILE || !IsReadable())
            return SettingsWriteResult::ReadFailed;
        return SettingsWriteResult::OpenFailed;
    }

    // A read-only file is refused by its attribute too, so that it is kept even where the
    // system would let a privileged user open it regardless.
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(m_held, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return SettingsWriteResult::OpenFailed;
    m_readFile = info;
    m_attributes = info.dwFileAttributes & kKeptAttributes;
    m_security = AccessRights(m_held);
    if (!ReadSettingsFileState(m_held, m_state) ||
        !CSettingsFile::FromBytes(m_state.bytes.get(), static_cast<size_t>(m_state.size), settings))
        return SettingsWriteResult::ReadFailed;
    return SettingsWriteResult::Written;
}

bool CSettingsFileSave::IsReadable() const
{
    // As a plain read opens it: shared with other readers only.
    const HANDLE file =
        m_folder.OpenFile(m_folder.FileName(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool CSettingsFileSave::IsAsRead() const
{
    // Asks for attributes only, which no program's sharing refuses.
    const HANDLE file =
        m_folder.OpenFile(m_folder.FileName(), FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, 0);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info = {};
    const bool known = GetFileInformationByHandle(file, &info) != FALSE;
    CloseHandle(file);
    const long long size = (static_cast<long long>(info.nFileSizeHigh) << 32) |
                           static_cast<long long>(info.nFileSizeLow);
    return known && info.dwVolumeSerialNumber == m_readFile.dwVolumeSerialNumber &&
           info.nFileIndexHigh == m_readFile.nFileIndexHigh &&
           info.nFileIndexLow == m_readFile.nFileIndexLow && size == m_state.size &&
           WriteTime(info.ftLastWriteTime) == m_state.lastWriteTime;
}

SettingsWriteResult CSettingsFileSave::Replace(const std::string& text)
{
    const std::string bytes = OnDisk(text);
    const SettingsWriteResult result =
        WithinLoadLimits(bytes) ? ReplaceWith(bytes) : SettingsWriteResult::WriteFailed;
    // The caller reads the file back next: a handle still held here would make it wait.
    Release();
    return result;
}

SettingsWriteResult CSettingsFileSave::ReplaceWith(const std::string& bytes)
{
    CTemporarySettingsFile newFile(m_folder, m_calls);
    switch (newFile.Create(m_attributes, m_security.empty() ? nullptr : m_security.data()))
    {
    case CTemporarySettingsFile::Creation::Created:
        break;
    case CTemporarySettingsFile::Creation::NoRightToCreate:
        // The folder takes no new file, as some installers set it; the file itself may still
        // take the new content.
        return m_held != INVALID_HANDLE_VALUE ? Rewrite(m_held, bytes)
                                              : SettingsWriteResult::OpenFailed;
    case CTemporarySettingsFile::Creation::Failed:
        return SettingsWriteResult::OpenFailed;
    }
    if (!newFile.Write(bytes))
        return SettingsWriteResult::WriteFailed;

    if (!m_state.exists)
    {
        if (newFile.MoveIntoPlace(false, m_retry, m_path))
            return SettingsWriteResult::Written;
        return NameTaken(GetLastError()) ? SettingsWriteResult::ChangedMeanwhile
                                         : SettingsWriteResult::WriteFailed;
    }
    // Held from Begin through this rename, shared with no writer: no program has written the
    // file since Begin read it, so it needs no check.
    if (newFile.ReplaceHeldFile())
        return SettingsWriteResult::Written;
    // Windows without POSIX renames replaces no file that is open, not even by the program
    // that holds it. Let go, the file may change before the rename: one that did is merged.
    Release();
    if (!IsAsRead())
        return SettingsWriteResult::ChangedMeanwhile;
    if (newFile.MoveIntoPlace(true, m_retry, m_path))
        return SettingsWriteResult::Written;
    // The old file is still there: a program holds it open without sharing its deletion (the
    // C runtime's fopen does so), or the player may write it but not delete or rename it. The
    // new file is removed when this returns.
    return RewriteReopened(bytes);
}

SettingsWriteResult CSettingsFileSave::RewriteReopened(const std::string& bytes)
{
    // Shared with the program that holds the file, whether it reads or writes.
    HANDLE file = INVALID_HANDLE_VALUE;
    const auto open = [&]
    {
        file = m_folder.OpenFile(m_folder.FileName(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
        return file != INVALID_HANDLE_VALUE;
    };
    if (!m_retry.Run(m_path, open))
        return SettingsWriteResult::WriteFailed;
    SettingsFileState now;
    const bool unchanged = ReadSettingsFileState(file, now) && now == m_state;
    const SettingsWriteResult result =
        unchanged ? Rewrite(file, bytes) : SettingsWriteResult::ChangedMeanwhile;
    CloseHandle(file);
    return result;
}

SettingsWriteResult CSettingsFileSave::Rewrite(HANDLE file, const std::string& bytes)
{
    switch (RewriteFileInPlace(file, bytes, m_calls.writeInPlace, m_path, m_retry))
    {
    case InPlaceResult::Rewritten:
        return SettingsWriteResult::Written;
    case InPlaceResult::FailedFileKept:
        return SettingsWriteResult::WriteFailed;
    case InPlaceResult::FailedFileDamaged:
        break;
    }
    return SettingsWriteResult::WriteFailedDamaged;
}

SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text,
                                      const SettingsFileCalls& calls)
{
    SettingsWriteResult result = SettingsWriteResult::ChangedMeanwhile;
    for (int attempt = 0; attempt < kSaveTries && result == SettingsWriteResult::ChangedMeanwhile;
         ++attempt)
    {
        CSettingsFileSave save(calls);
        CSettingsFile ignored;
        result = save.Begin(path, ignored);
        if (result == SettingsWriteResult::Written)
            result = save.Replace(text);
    }
    return result;
}
