#include "settings/save/TemporarySettingsFile.h"

#include "settings/save/BriefHoldRetry.h"
#include "settings/save/HeldSettingsFolder.h"

#include <cwchar>
#include <vector>

namespace
{
// Names tried before the save gives up: another file takes one only by a rare chance, or
// because someone planted it.
const int kNameTries = 4;

// Eight random hexadecimal digits and ".tmp": twelve characters, as "settings.cfg" has.
bool RandomName(const SettingsFileCalls& calls, std::wstring& name)
{
    unsigned long number = 0;
    if (!calls.random(&number, sizeof number))
        return false;
    wchar_t text[16] = {};
    swprintf(text, sizeof text / sizeof text[0], L"%08lx.tmp", number & 0xFFFFFFFFul);
    name = text;
    return true;
}

bool NameTaken(DWORD error)
{
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}
} // namespace

CTemporarySettingsFile::CTemporarySettingsFile(const CHeldSettingsFolder& folder,
                                               const SettingsFileCalls& calls)
    : m_folder(folder), m_calls(calls)
{
}

CTemporarySettingsFile::~CTemporarySettingsFile()
{
    if (m_file == INVALID_HANDLE_VALUE)
        return;
    if (m_moved)
        CloseHandle(m_file);
    else
        m_folder.Remove(m_file, m_name);
}

CTemporarySettingsFile::Creation CTemporarySettingsFile::Create(DWORD attributes,
                                                                const void* security)
{
    for (int attempt = 0; attempt < kNameTries; ++attempt)
    {
        if (!RandomName(m_calls, m_name))
            return Creation::Failed;
        m_file = m_folder.OpenFile(m_name, GENERIC_WRITE | DELETE | WRITE_DAC, 0, CREATE_NEW,
                                   attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL);
        if (m_file != INVALID_HANDLE_VALUE)
            break;
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED)
            return Creation::NoRightToCreate;
        if (!NameTaken(error))
            return Creation::Failed;
    }
    if (m_file == INVALID_HANDLE_VALUE)
        return Creation::Failed;
    // Rights copied as they are, as ReplaceFile keeps them; a failure leaves the folder's
    // defaults, which is no reason to lose the player's choices.
    if (security != nullptr)
        SetKernelObjectSecurity(m_file, DACL_SECURITY_INFORMATION,
                                const_cast<PSECURITY_DESCRIPTOR>(security));
    return Creation::Created;
}

bool CTemporarySettingsFile::Write(const std::string& bytes)
{
    DWORD written = 0;
    return (bytes.empty() || (m_calls.write(m_file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                            &written, nullptr) &&
                              written == bytes.size())) &&
           m_calls.commit(m_file);
}

bool CTemporarySettingsFile::ReplaceHeldFile()
{
    return m_calls.setInformation != nullptr &&
           Rename(kFileRenameInformationEx, kRenameReplaceIfExists | kRenamePosixSemantics);
}

bool CTemporarySettingsFile::MoveIntoPlace(bool replace, CBriefHoldRetry& retry,
                                           const std::string& path)
{
    if (m_calls.setInformation != nullptr)
        return retry.Run(path, [&] { return Rename(kFileRenameInformation, replace ? 1 : 0); });

    // Without ntdll's call: by the names, in the held folder, once the file is closed.
    CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    const std::wstring source = m_folder.Path() + m_name;
    const std::wstring target = m_folder.Path() + m_folder.FileName();
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    m_moved = retry.Run(path, [&]
                        { return MoveFileExW(source.c_str(), target.c_str(), flags) != FALSE; });
    if (!m_moved)
        DeleteFileW(source.c_str());
    return m_moved;
}

bool CTemporarySettingsFile::Rename(ULONG infoClass, ULONG flags)
{
    // The target is named relative to the held folder's handle, so that a link set on the
    // folder's path meanwhile redirects nothing. The structure ends in the name, which takes
    // the place of its one-character array.
    const std::wstring& target = m_folder.FileName();
    std::vector<char> buffer(sizeof(RenameInformation) + target.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<RenameInformation*>(buffer.data());
    rename->flags = flags;
    rename->rootDirectory = m_folder.Handle();
    rename->fileNameLength = static_cast<ULONG>(target.size() * sizeof(wchar_t));
    wmemcpy(rename->fileName, target.c_str(), target.size() + 1);
    m_moved = CallFileInformation(m_calls.setInformation, m_file, rename,
                                  static_cast<ULONG>(buffer.size()), infoClass);
    return m_moved;
}
