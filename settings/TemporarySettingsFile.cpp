#include "settings/TemporarySettingsFile.h"

#include "settings/BriefHoldRetry.h"
#include "settings/HeldSettingsFolder.h"

#include <ntsecapi.h>

#include <cwchar>
#include <vector>

namespace
{
// Names tried before the save gives up: another file takes one only by a rare chance, or
// because someone planted it.
const int kNameTries = 4;

// Eight random hexadecimal digits and ".tmp": twelve characters, as "settings.cfg" has.
bool RandomName(std::wstring& name)
{
    unsigned long number = 0;
    if (!RtlGenRandom(&number, sizeof number))
        return false;
    wchar_t text[16] = {};
    swprintf(text, sizeof text / sizeof text[0], L"%08lx.tmp", number & 0xFFFFFFFFul);
    name = text;
    return true;
}
} // namespace

CTemporarySettingsFile::CTemporarySettingsFile(const CHeldSettingsFolder& folder,
                                               const SettingsFileCalls& calls)
    : m_folder(folder), m_calls(calls)
{
}

CTemporarySettingsFile::~CTemporarySettingsFile()
{
    if (!m_moved)
        Remove();
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
}

bool CTemporarySettingsFile::Create(DWORD attributes, const void* security)
{
    for (int attempt = 0; attempt < kNameTries && m_file == INVALID_HANDLE_VALUE; ++attempt)
    {
        if (!RandomName(m_name))
            return false;
        m_file = m_folder.OpenFile(m_name, GENERIC_WRITE | DELETE | WRITE_DAC, 0, CREATE_NEW,
                                   attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL);
    }
    if (m_file == INVALID_HANDLE_VALUE)
    {
        m_name.clear();
        return false;
    }
    // Rights copied as they are, as ReplaceFile keeps them; a failure leaves the folder's
    // defaults, which is no reason to lose the player's choices.
    if (security != nullptr)
        SetKernelObjectSecurity(m_file, DACL_SECURITY_INFORMATION,
                                const_cast<PSECURITY_DESCRIPTOR>(security));
    return true;
}

bool CTemporarySettingsFile::Write(const std::string& bytes)
{
    DWORD written = 0;
    return (bytes.empty() || (m_calls.write(m_file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                            &written, nullptr) &&
                              written == bytes.size())) &&
           m_calls.commit(m_file);
}

bool CTemporarySettingsFile::MoveIntoPlace(CBriefHoldRetry& retry, const std::string& path)
{
    const std::wstring target = m_folder.Path() + m_folder.FileName();
    if (m_calls.setInformation == nullptr)
    {
        CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        const std::wstring source = m_folder.Path() + m_name;
        m_moved = retry.Run(path,
                            [&]
                            {
                                return MoveFileExW(source.c_str(), target.c_str(),
                                                   MOVEFILE_REPLACE_EXISTING |
                                                       MOVEFILE_WRITE_THROUGH) != FALSE;
                            });
        return m_moved;
    }

    // The structure ends in the name, which takes the place of its one-character array.
    std::vector<char> buffer(sizeof(FileRenameInfo) + target.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FileRenameInfo*>(buffer.data());
    rename->replaceIfExists = TRUE;
    rename->rootDirectory = nullptr;
    rename->fileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    wmemcpy(rename->fileName, target.c_str(), target.size() + 1);
    m_moved =
        retry.Run(path,
                  [&]
                  {
                      return m_calls.setInformation(m_file, kFileRenameInfo, rename,
                                                    static_cast<DWORD>(buffer.size())) != FALSE;
                  });
    return m_moved;
}

void CTemporarySettingsFile::Remove()
{
    if (m_name.empty())
        return;
    FileDispositionInfo remove = {TRUE};
    if (m_file != INVALID_HANDLE_VALUE && m_calls.setInformation != nullptr &&
        m_calls.setInformation(m_file, kFileDispositionInfo, &remove, sizeof remove))
        return;
    // Closed first: the file is not shared for deletion while it is open.
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    DeleteFileW((m_folder.Path() + m_name).c_str());
}
