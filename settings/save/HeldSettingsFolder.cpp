#include "settings/save/HeldSettingsFolder.h"

#include "settings/save/SystemFileFunctions.h"
#include "text/TextConversion.h"

#include <cwchar>

namespace
{
// Left in GetLastError for a folder or file that is a link.
const DWORD kLinkRefused = ERROR_CANT_ACCESS_FILE;

// What a check found behind a handle.
enum class Found
{
    Plain,
    Link,
    // A reparse point that redirects nothing: a filter of the system serves its content.
    FilteredReparsePoint,
};

// The path the system says `handle` leads to; empty where it cannot tell.
std::wstring FinalPath(HANDLE handle)
{
    const auto query = GetSystemFileFunctions().getFinalPathNameByHandle;
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

// The attributes of `handle` and, for a reparse point, whether its tag redirects a name. True
// for `redirects` also where the tag cannot be asked.
bool ReadAttributes(HANDLE handle, const SettingsFileCalls& calls, BY_HANDLE_FILE_INFORMATION& info,
                    DWORD& attributes, bool& redirects)
{
    if (!GetFileInformationByHandle(handle, &info))
        return false;
    attributes = info.dwFileAttributes;
    AttributeTagInformation tag = {};
    redirects = true;
    if (CallFileInformation(calls.queryInformation, handle, &tag, sizeof tag,
                            kFileAttributeTagInformation))
    {
        // Wine reports no attributes here: those of the handle count too.
        attributes |= tag.fileAttributes;
        redirects = IsReparseTagNameSurrogate(tag.reparseTag) != 0;
    }
    return true;
}

// What the open `handle` is. It must be a folder (or a file) of its own, not a link to one, and,
// where the system tells, lie at `expected`. A reparse point that redirects nothing counts as
// plain when `reopened` says that it was opened as a plain file already.
Found Check(HANDLE handle, bool folder, const std::wstring& expected,
            const SettingsFileCalls& calls, bool reopened, BY_HANDLE_FILE_INFORMATION& info)
{
    DWORD attributes = 0;
    bool redirects = true;
    if (!ReadAttributes(handle, calls, info, attributes, redirects))
        return Found::Link;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    {
        if (redirects)
            return Found::Link;
        if (!reopened)
            return Found::FilteredReparsePoint;
    }
    if (((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder)
        return Found::Link;
    if (!folder && info.nNumberOfLinks != 1)
        return Found::Link;
    if (!expected.empty() && _wcsicmp(FinalPath(handle).c_str(), expected.c_str()) != 0)
        return Found::Link;
    return Found::Plain;
}

bool SameFile(const BY_HANDLE_FILE_INFORMATION& one, const BY_HANDLE_FILE_INFORMATION& other)
{
    return one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
}

// Closes `handle` and leaves `error` in GetLastError.
void CloseKeepingError(HANDLE handle, DWORD error)
{
    CloseHandle(handle);
    SetLastError(error);
}

} // namespace

CHeldSettingsFolder::CHeldSettingsFolder(const SettingsFileCalls& calls) : m_calls(calls) {}

CHeldSettingsFolder::~CHeldSettingsFolder()
{
    for (const HANDLE folder : m_folders)
    {
        if (folder != INVALID_HANDLE_VALUE)
            CloseHandle(folder);
    }
}

bool CHeldSettingsFolder::Open(const std::string& filePath, bool makeProductFolder)
{
    const std::wstring path = AnsiToWide(filePath.c_str(), filePath.size());
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

    // The shared documents folder, links followed: only a starting point, never held.
    std::wstring parentPath = path.substr(0, top + 1);
    const HANDLE documents =
        CreateFileW(parentPath.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (documents == INVALID_HANDLE_VALUE)
        return false;
    std::wstring finalPath = FinalPath(documents);

    const size_t ends[] = {folder, file};
    HANDLE parent = documents;
    for (int level = 0; level < 2; ++level)
    {
        const size_t start = level == 0 ? top + 1 : folder + 1;
        const std::wstring name = path.substr(start, ends[level] - start);
        FolderEntryRequest request;
        request.folder = true;
        // Listing, not deletion, shared: while held, nobody renames, removes or replaces it.
        request.access = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES;
        request.share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        request.disposition = level == 1 && makeProductFolder ? OPEN_ALWAYS : OPEN_EXISTING;
        const std::wstring expected = Child(finalPath, name);
        m_folders[level] = OpenChecked(parent, parentPath, name, request, expected);
        if (level == 0)
            CloseKeepingError(documents, GetLastError());
        if (m_folders[level] == INVALID_HANDLE_VALUE)
            return false;
        parent = m_folders[level];
        parentPath += name + L'\\';
        finalPath = expected;
    }
    m_finalPath = finalPath;
    return true;
}

HANDLE CHeldSettingsFolder::OpenFile(const std::wstring& name, DWORD access, DWORD share,
                                     DWORD disposition, DWORD flags) const
{
    FolderEntryRequest request;
    request.access = access;
    request.share = share;
    request.disposition = disposition;
    request.flags = flags;
    return OpenChecked(m_folders[1], m_path, name, request, Child(m_finalPath, name));
}

HANDLE CHeldSettingsFolder::OpenChecked(HANDLE parent, const std::wstring& parentPath,
                                        const std::wstring& name, FolderEntryRequest request,
                                        const std::wstring& expected) const
{
    HANDLE handle = OpenInFolder(parent, parentPath, name, request);
    if (handle == INVALID_HANDLE_VALUE)
        return handle;
    BY_HANDLE_FILE_INFORMATION info;
    Found found = Check(handle, request.folder, expected, m_calls, false, info);
    // A file made this moment is a plain one: no filter has taken it over yet.
    const bool made = request.disposition == CREATE_NEW && !request.folder;
    if (found == Found::FilteredReparsePoint && made)
        found = Found::Link;
    if (found == Found::FilteredReparsePoint)
    {
        // Opened again as a plain file, so that the system's filter serves the content; it
        // must be the same file.
        const BY_HANDLE_FILE_INFORMATION first = info;
        CloseHandle(handle);
        request.openReparsePoint = false;
        request.disposition = OPEN_EXISTING;
        handle = OpenInFolder(parent, parentPath, name, request);
        if (handle == INVALID_HANDLE_VALUE)
            return handle;
        found = Check(handle, request.folder, expected, m_calls, true, info);
        if (found == Found::Plain && !SameFile(first, info))
            found = Found::Link;
    }
    if (found == Found::Plain)
        return handle;
    if (made)
        Remove(handle, name);
    else
        CloseHandle(handle);
    SetLastError(kLinkRefused);
    return INVALID_HANDLE_VALUE;
}

void CHeldSettingsFolder::Remove(HANDLE file, const std::wstring& name) const
{
    DispositionInformation remove = {TRUE};
    const bool removed = CallFileInformation(m_calls.setInformation, file, &remove, sizeof remove,
                                             kFileDispositionInformation);
    // Closed first where it goes by the name: the file is not shared for deletion while open.
    CloseHandle(file);
    if (!removed)
        DeleteFileW((m_path + name).c_str());
}
