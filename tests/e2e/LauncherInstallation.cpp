#include "tests/e2e/LauncherInstallation.h"

#include "tests/support/TestEnvironment.h"

#include <windows.h>

#include <gtest/gtest.h>

LauncherInstallation::LauncherInstallation()
{
    for (const wchar_t* name : {L"ConfigApp.exe", L"LexoraRuntime.dll", L"Config.Strdb00p"})
        EXPECT_TRUE(AddFromBuild(name)) << "missing from the build";
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

std::wstring LauncherInstallation::Folder() const
{
    return Widen(m_folder.Path());
}

std::wstring LauncherInstallation::Launcher() const
{
    return Folder() + L"\\ConfigApp.exe";
}
