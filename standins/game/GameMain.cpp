// A stand-in for the game: it reads settings.cfg the way the game does and shows what it
// received. With DRAV_STANDIN_REPORT naming a file it writes the same report there instead
// and exits at once, which is how tests ask for it (the game gets an empty command line,
// so the inherited environment is the only channel).

#include "settings/SettingsFile.h"
#include "settings/SettingsFilePath.h"
#include "settings/SettingsFolder.h"
#include "standins/game/GameIdentity.h"
#include "standins/game/GameReport.h"
#include "text/TextConversion.h"

#include <windows.h>

#include <string>
#include <vector>

namespace
{
std::wstring OwnExecutablePath()
{
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return std::wstring(path.data(), length < path.size() ? length : 0);
}

std::wstring CurrentFolder()
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    std::vector<wchar_t> folder(size + 1);
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    return std::wstring(folder.data(), length < folder.size() ? length : 0);
}

// The value of the environment variable `name`; empty when it is not set.
std::wstring EnvironmentValue(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return std::wstring();
    std::vector<wchar_t> value(size);
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    return std::wstring(value.data(), length < size ? length : 0);
}

bool WriteReport(const std::wstring& path, const std::string& report)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL wrote =
        WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    const BOOL closed = CloseHandle(file);
    return wrote && closed && written == report.size();
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    GameStart start;
    start.commandLine = GetCommandLineW();
    start.workingFolder = CurrentFolder();
    start.executablePath = OwnExecutablePath();
    const bool freeEdition = IsFreeEditionExecutable(start.executablePath);

    // The settings file is found the way the game finds it: its edition's settings folder.
    start.settingsPath = GetSettingsFilePath(EditionFolderName(freeEdition));
    CSettingsFile settings;
    if (!start.settingsPath.empty())
    {
        start.settingsFileFound = PathExists(start.settingsPath.c_str());
        settings = CSettingsFile::Load(start.settingsPath.c_str());
    }

    const std::string report = ComposeGameReport(start, settings);
    const std::wstring reportPath = EnvironmentValue(L"DRAV_STANDIN_REPORT");
    if (!reportPath.empty())
        return WriteReport(reportPath, report) ? 0 : 1;

    const wchar_t* title = freeEdition ? L"DRAVMP (stand-in game)" : L"DRAV (stand-in game)";
    MessageBoxW(nullptr, Utf8ToWide(report).c_str(), title, MB_OK | MB_ICONINFORMATION);
    return 0;
}
