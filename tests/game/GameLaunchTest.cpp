#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace
{
// A working folder with a copy of one game executable, started from there the way the
// launcher starts the game: a bare file name as application name, an empty command line,
// created suspended and then resumed, the environment and current directory inherited.
class GameLaunchTest : public testing::Test
{
protected:
    // The game's exit code, or STILL_ACTIVE when it did not end within a minute.
    DWORD RunGame(const wchar_t* executable, const std::string& reportPath)
    {
        const std::wstring source = BuildBinFolder() + L"\\" + executable;
        const std::wstring target = Widen(m_working.Path()) + L"\\" + executable;
        EXPECT_TRUE(CopyFileW(source.c_str(), target.c_str(), FALSE))
            << "the game executable is missing from the build";

        ScopedCurrentDirectory inWorking(m_working.Path());
        ScopedEnvironmentVariable reportTo(L"DRAV_STANDIN_REPORT", Widen(reportPath));
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        wchar_t commandLine[128] = {};
        if (!CreateProcessW(executable, commandLine, nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                            nullptr, nullptr, &startup, &process))
        {
            ADD_FAILURE() << "cannot start the game, error " << GetLastError();
            return STILL_ACTIVE;
        }
        ResumeThread(process.hThread);
        DWORD exitCode = STILL_ACTIVE;
        if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &exitCode);
        else
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return exitCode;
    }

    GameReport RunGameForReport(const wchar_t* executable)
    {
        const std::string reportPath = m_working / "report.txt";
        EXPECT_EQ(0u, RunGame(executable, reportPath));
        return ReadGameReport(reportPath);
    }

    TempFolder m_working;
};
} // namespace

TEST_F(GameLaunchTest, RetailGameReadsItsSettingsAndGetsNoArguments)
{
    ScopedSettingsFile settings("DRAV");
    settings.Write("\"DisableSound\" \"1\"\r\n"
                   "\"ScreenWidth\" \"1024\"\r\n"
                   "\"Renderer\" \"DX9 Renderer\"\r\n"
                   "\"Gamma\" \"1.2\"\r\n");

    GameReport report = RunGameForReport(L"DRAV.exe");
    EXPECT_EQ("DRAV.exe", report["game"]);
    EXPECT_EQ("retail", report["edition"]);
    EXPECT_EQ("", report["arguments"]) << "command line: " << report["command line"];
    EXPECT_EQ(m_working.Path(), report["working folder"]);
    EXPECT_EQ(m_working / "DRAV.exe", report["executable path"]);
    EXPECT_EQ(settings.Path(), report["settings path"]);
    EXPECT_NE(std::string::npos, settings.Path().find("\\Kerrowind\\DRAV\\settings.cfg"));
    EXPECT_EQ("found", report["settings file"]);
    EXPECT_EQ("1", report["DisableSound"]);
    EXPECT_EQ("1024", report["ScreenWidth"]);
    EXPECT_EQ("DX9 Renderer", report["Renderer"]);
    EXPECT_EQ("(not set)", report["MusicEnable"]);
    EXPECT_EQ("1.2", report["other Gamma"]);
}

TEST_F(GameLaunchTest, FreeEditionReadsTheDravFreeFolder)
{
    ScopedSettingsFile retail("DRAV");
    retail.Write("\"ScreenWidth\" \"640\"\r\n");
    ScopedSettingsFile free("DRAVFree");
    free.Write("\"ScreenWidth\" \"800\"\r\n\"BitDepth\" \"16\"\r\n");

    GameReport report = RunGameForReport(L"DRAVMP.exe");
    EXPECT_EQ("DRAVMP.exe", report["game"]);
    EXPECT_EQ("free multiplayer", report["edition"]);
    EXPECT_EQ("DRAVFree", report["edition folder"]);
    EXPECT_EQ("", report["arguments"]);
    EXPECT_EQ(free.Path(), report["settings path"]);
    EXPECT_EQ("800", report["ScreenWidth"]);
    EXPECT_EQ("16", report["BitDepth"]);
}

TEST_F(GameLaunchTest, MissingSettingsFileLeavesEverySettingUnset)
{
    ScopedSettingsFile settings("DRAV");

    GameReport report = RunGameForReport(L"DRAV.exe");
    EXPECT_EQ("not found", report["settings file"]);
    for (const char* key : {"RestoreDefaults", "DisableSound", "DeviceName", "BitDepth"})
        EXPECT_EQ("(not set)", report[key]) << key;
}

TEST_F(GameLaunchTest, ReportThatCannotBeWrittenEndsTheGameWithExitCodeOne)
{
    EXPECT_EQ(1u, RunGame(L"DRAV.exe", m_working / "no\\such\\folder\\report.txt"));
}
