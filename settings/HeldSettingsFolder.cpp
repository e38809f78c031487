#include "settings/HeldSettingsFolder.h"

#include "settings/VistaFileFunctions.h"

#include <cwchar>

namespace
{
// Left in GetLastError for a folder or file that is a link.
const DWORD kLinkRefused = ERROR_CANT_ACCESS_FILE;

std::wstring Widen(const std::string& text)
{
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                            length);
    return wide;
}

// The path the system says `handle` leads to; empty where it cannot tell.
std::wstring FinalPath(HANDLE handle)
{
    const auto query = GetVistaFileFunctions().getFinalPathNameByHandle;
    if (!query)
        return std::wstring();
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = query(handle, &path[0], static_cast<DWORD>(path.size()), 0);
    if (length >= path.size())
    {
        // Too small: the length asked for counts the terminating zero.
        path.resize(length);
        length = query(handle, &path[0], static_cast<DWORD>(path.size()), 0);
    }
    if (length == 0 || length >= path.size())
        return std::wstring();
    path.resize(length);
    return path;
}

std::wstring Child(const std::wstring& folder, const std::wstring& name)
{
    if (folder.empty())
        return std::wstring();
    return folder.back() == L'\\' ? folder + name : folder + L'\\' + name;
}

// True when the open `handle` is a folder (or a file) of its own, not a link to one, and,
// where the system tells, lies at `expected`.
bool IsPlain(HANDLE handle, bool folder, const std::wstring& expected)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info))
        return false;
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder)
        return false;
    if (!folder && info.nNumberOfLinks != 1)
        return false;
    return expected.empty() || _wcsicmp(FinalPath(handle).c_str(), expected.c_str()) == 0;
}

// Closes `handle` and leaves `error` in GetLastError.
void CloseKeepingError(HANDLE handle, DWORD error)
{
    CloseHandle(handle);
    SetLastError(error);
}

// The folder at `path` opened for listing, without following a link and without sharing its
// deletion: while the handle is open, nobody renames, removes or replaces the folder.
HANDLE OpenFolder(const std::wstring& path)
{
    return CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Where the system says the folder at `path` is, links followed; empty where it cannot tell.
std::wstring FinalFolderPath(const std::wstring& path)
{
    const HANDLE folder = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring finalPath = FinalPath(folder);
    CloseHandle(folder);
    return finalPath;
}
} // namespace

CHeldSettingsFolder::~CHeldSettingsFolder()
{
    for (const HANDLE folder : m_folders)
    {
        if (folder != INVALID_HANDLE_VALUE)
            CloseHandle(folder);
    }
}

bool CHeldSettingsFolder::Open(const std::string& filePath)
{
    const std::wstring path = Widen(filePath);
    // The file's folder, the folder above it and the folder above that: three backslashes.
    const size_t file = path.rfind(L'\\');
    const size_t folder =
        file == std::wstring::npos || file == 0 ? file : path.rfind(L'\\', file - 1);
    const size_t top =
        folder == std::wstring::npos || folder == 0 ? folder : path.rfind(L'\\', folder - 1);
    if (top == std::wstring::npos || file + 1 == path.size())
    {
        SetLastError(ERROR_BAD_PATHNAME);
        return false;
    }
    m_fileName = path.substr(file + 1);
    m_path = path.substr(0, file + 1);

    std::wstring finalPath = FinalFolderPath(path.substr(0, top + 1));
    const size_t ends[] = {folder, file};
    for (int level = 0; level < 2; ++level)
    {
        const size_t start = level == 0 ? top + 1 : folder + 1;
        const std::wstring name = path.substr(start, ends[level] - start);
        const HANDLE handle = OpenFolder(path.substr(0, ends[level]));
        if (handle == INVALID_HANDLE_VALUE)
            return false;
        m_folders[level] = handle;
        if (!IsPlain(handle, true, Child(finalPath, name)))
        {
            SetLastError(kLinkRefused);
            return false;
        }
        finalPath = Child(finalPath, name);
    }
    m_finalPath = finalPath;
    return true;
}

HANDLE CHeldSettingsFolder::OpenFile(const std::wstring& name, DWORD access, DWORD share,
                                     DWORD disposition, DWORD flags,
                                     SECURITY_ATTRIBUTES* security) const
{
    const HANDLE file = CreateFileW((m_path + name).c_str(), access, share, security, disposition,
                                    flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    if (!IsPlain(file, false, Child(m_finalPath, name)))
    {
        CloseKeepingError(file, kLinkRefused);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}
