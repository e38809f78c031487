#include "tests/e2e/LauncherInstallation.h"

#include "tests/support/FileContent.h"
#include "tests/support/TestEnvironment.h"

#include <windows.h>

#include <gtest/gtest.h>

LauncherInstallation::LauncherInstallation()
{
    char unpacked[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("LAUNCHER_INSTALLATION", unpacked, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
    {
        m_path = unpacked;
        return;
    }
    m_path = m_temporary.Path();
    EXPECT_TRUE(AddFromBuild(L"ConfigApp.exe"));
    EXPECT_TRUE(AddFromBuild(L"LexoraRuntime.dll"));
    // The tests read English texts, whatever language the build ships.
    EXPECT_TRUE(AddFromBuild(L"Config.en.Strdb00p", L"Config.Strdb00p"));
}

bool LauncherInstallation::AddFromBuild(const wchar_t* buildName, const wchar_t* name)
{
    const std::wstring source = BuildBinFolder() + L"\\" + buildName;
    const std::wstring target = Folder() + L"\\" + name;
    return CopyFileW(source.c_str(), target.c_str(), FALSE) != FALSE;
}

void LauncherInstallation::Remove(const wchar_t* name)
{
    DeleteFileW((Folder() + L"\\" + name).c_str());
}

void LauncherInstallation::WriteFile(const std::string& name, const std::string& content) const
{
    WriteWholeFile(Path(name), content);
}

std::wstring LauncherInstallation::Folder() const
{
    return Widen(m_path);
}

std::wstring LauncherInstallation::Launcher() const
{
    return Folder() + L"\\ConfigApp.exe";
}
