#include "tests/support/TestEnvironment.h"

#include "settings/SettingsFilePath.h"
#include "settings/SettingsFolder.h"
#include "tests/support/FileContent.h"

#include <sstream>

std::wstring BuildBinFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring module = path;
    return module.substr(0, module.find_last_of(L'\\'));
}

std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const wchar_t* name, const std::wstring& value)
    : m_name(name)
{
    wchar_t previous[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(name, previous, MAX_PATH);
    m_hadValue = length > 0 && length < MAX_PATH;
    if (m_hadValue)
        m_previous = previous;
    SetEnvironmentVariableW(name, value.c_str());
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable()
{
    SetEnvironmentVariableW(m_name, m_hadValue ? m_previous.c_str() : nullptr);
}

ScopedSettingsFile::ScopedSettingsFile(const char* editionFolder)
    : m_path(GetSettingsFilePath(editionFolder))
{
    m_existed = PathExists(m_path.c_str());
    if (m_existed)
        m_previous = ReadWholeFile(m_path);
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(m_path.c_str());
}

ScopedSettingsFile::~ScopedSettingsFile()
{
    SetFileAttributesA(m_path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (m_existed)
        WriteWholeFile(m_path, m_previous);
    else
        DeleteFileA(m_path.c_str());
}

void ScopedSettingsFile::Write(const std::string& content) const
{
    WriteWholeFile(m_path, content);
}

std::string ScopedSettingsFile::Read() const
{
    return ReadWholeFile(m_path);
}

GameReport ReadGameReport(const std::string& path)
{
    GameReport report;
    std::istringstream lines(ReadWholeFile(path));
    std::string line;
    while (std::getline(lines, line))
    {
        const size_t colon = line.find(": ");
        if (colon != std::string::npos)
            report[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return report;
}
