#include "settings/SettingsFolder.h"

#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace
{
using Report = std::map<std::string, std::string>;

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void WriteWholeFile(const std::string& path, const std::string& content)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << content;
    ASSERT_TRUE(file.good()) << "cannot write " << path;
}

// The folder of this test program, where the build puts DRAV.exe and DRAVMP.exe too.
std::wstring BuildBinFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring Widen(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

// Sets an environment variable for the object's lifetime; started processes inherit it.
class ScopedEnvironmentVariable
{
public:
    ScopedEnvironmentVariable(const wchar_t* name, const std::wstring& value) : m_name(name)
    {
        wchar_t previous[MAX_PATH];
        const DWORD length = GetEnvironmentVariableW(name, previous, MAX_PATH);
        m_hadValue = length > 0 && length < MAX_PATH;
        if (m_hadValue)
            m_previous = previous;
        SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedEnvironmentVariable()
    {
        SetEnvironmentVariableW(m_name, m_hadValue ? m_previous.c_str() : nullptr);
    }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    const wchar_t* m_name;
    bool m_hadValue = false;
    std::wstring m_previous;
};

// Takes settings.cfg of an edition's real settings folder out of the way for the object's
// lifetime and puts back what was there (or nothing) afterwards.
class ScopedSettingsFile
{
public:
    explicit ScopedSettingsFile(const char* editionFolder)
    {
        char folder[MAX_PATH] = {};
        GetSettingsFolder(editionFolder, folder, sizeof folder);
        m_path = std::string(folder) + "settings.cfg";
        m_existed = PathExists(m_path.c_str());
        if (m_existed)
            m_previous = ReadWholeFile(m_path);
        DeleteFileA(m_path.c_str());
    }
    ~ScopedSettingsFile()
    {
        if (m_existed)
            WriteWholeFile(m_path, m_previous);
        else
            DeleteFileA(m_path.c_str());
    }
    ScopedSettingsFile(const ScopedSettingsFile&) = delete;
    ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;

    void Write(const std::string& content) const { WriteWholeFile(m_path, content); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_existed = false;
    std::string m_previous;
};

// "name: value" lines into a map; the name ends at the first ": ".
Report ParseReport(const std::string& text)
{
    Report report;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line))
    {
        const size_t colon = line.find(": ");
        if (colon != std::string::npos)
            report[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return report;
}

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

    Report RunGameForReport(const wchar_t* executable)
    {
        const std::string reportPath = m_working / "report.txt";
        EXPECT_EQ(0u, RunGame(executable, reportPath));
        return ParseReport(ReadWholeFile(reportPath));
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

    Report report = RunGameForReport(L"DRAV.exe");
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

    Report report = RunGameForReport(L"DRAVMP.exe");
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

    Report report = RunGameForReport(L"DRAV.exe");
    EXPECT_EQ("not found", report["settings file"]);
    for (const char* key : {"RestoreDefaults", "DisableSound", "DeviceName", "BitDepth"})
        EXPECT_EQ("(not set)", report[key]) << key;
}

TEST_F(GameLaunchTest, ReportThatCannotBeWrittenEndsTheGameWithExitCodeOne)
{
    EXPECT_EQ(1u, RunGame(L"DRAV.exe", m_working / "no\\such\\folder\\report.txt"));
}
