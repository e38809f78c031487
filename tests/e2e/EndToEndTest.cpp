// The real launcher, started as a player starts it and worked through its windows from this
// process, in a fresh installation folder each time.
#include "tests/e2e/LauncherTest.h"
#include "tools/driver/WaitUntil.h"

#include <string>

namespace
{
const int kDisableSoundBox = 1001;
const int kResolutionList = 1002;
const int kDisplayList = 1003;

// The settings the player had: a stored resolution, a switch, and a pair no page owns.
const char kPreviousSettings[] = "\"Gamma\" \"1.2\"\r\n"
                                 "\"ScreenWidth\" \"1280\"\r\n"
                                 "\"ScreenHeight\" \"1024\"\r\n"
                                 "\"BitDepth\" \"32\"\r\n"
                                 "\"MusicEnable\" \"0\"\r\n";

class EndToEndTest : public LauncherTest
{
protected:
    void StartLauncher()
    {
        ASSERT_TRUE(m_driver.Start(m_installation.Launcher(), m_installation.Folder()));
    }

    // Presses Apply after a change and waits until the save is done: Apply greys itself as
    // soon as the control applied, before settings.cfg is written.
    void ApplyTheChange()
    {
        WaitUntilApplyIs(true);
        m_driver.Click(m_driver.Button(kApplyButton));
        WaitUntilApplyIs(false);
        ASSERT_TRUE(m_driver.StaysOpen());
    }

    // Presses a button of the sheet and returns the message box it brought up (or null).
    HWND PressExpectingMessageBox(int button)
    {
        m_driver.Click(m_driver.Button(button));
        return m_driver.WaitForMessageBox(kTimeoutMs);
    }
};

// Lines of a settings text split at CR LF; a bare LF stays inside a line and shows up.
std::vector<std::string> CrLfLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(text.size(), start) << "the text does not end with CR LF";
    return lines;
}

// Checks a saved file of seven lines: one option line, the display's device and renderer,
// the resolution `width` x `height` x 32, and the pair "Gamma" that no page owns, last.
void ExpectSavedLines(const std::string& text, const char* optionLine, const char* width,
                      const char* height)
{
    const std::vector<std::string> lines = CrLfLines(text);
    ASSERT_EQ(7u, lines.size()) << text;
    EXPECT_EQ(optionLine, lines[0]);
    EXPECT_EQ(0u, lines[1].find("\"DeviceName\" \""));
    EXPECT_EQ(0u, lines[2].find("\"Renderer\" \""));
    EXPECT_EQ(std::string("\"ScreenWidth\" \"") + width + "\"", lines[3]);
    EXPECT_EQ(std::string("\"ScreenHeight\" \"") + height + "\"", lines[4]);
    EXPECT_EQ("\"BitDepth\" \"32\"", lines[5]);
    EXPECT_EQ("\"Gamma\" \"1.2\"", lines[6]);
}

// True when one monitor holds all of `window`.
bool WhollyOnOneMonitor(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    RECT both = {};
    return GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONULL), &monitor) &&
           IntersectRect(&both, &rect, &monitor.rcMonitor) && EqualRect(&both, &rect);
}
} // namespace

TEST_F(EndToEndTest, OkSavesTheSettingsStartsTheGameAndCloses)
{
    m_installation.AddFromBuild(L"DRAV.exe");
    // And a switch stored twice: the sheet shows the first, and no copy outlives the save.
    m_retailSettings.Write(std::string(kPreviousSettings) +
                           "\"DisableSound\" \"0\"\r\n\"DisableSound\" \"1\"\r\n");
    StartLauncher();

    m_driver.Click(m_driver.Button(IDOK));
    ASSERT_TRUE(m_driver.WaitForExit(kTimeoutMs));
    ASSERT_TRUE(WaitForGameReport());

    ExpectSavedLines(m_retailSettings.Read(), "\"MusicEnable\" \"0\"", "1280", "1024");

    GameReport report = ReadGameReport(ReportPath());
    EXPECT_EQ("DRAV.exe", report["game"]);
    EXPECT_EQ("", report["arguments"]);
    EXPECT_EQ(m_installation.Path(), report["working folder"]);
    EXPECT_EQ("0", report["MusicEnable"]);
    EXPECT_EQ("(not set)", report["DisableSound"]);
    EXPECT_EQ("1280", report["ScreenWidth"]);
}

TEST_F(EndToEndTest, OkWithoutTheGameSavesReportsAndStaysOpen)
{
    m_retailSettings.Write(kPreviousSettings);
    StartLauncher();

    const HWND box = PressExpectingMessageBox(IDOK);
    ASSERT_TRUE(box);
    EXPECT_NE(std::wstring::npos, m_driver.MessageBoxText(box).find(L"could not be started"));
    EXPECT_EQ(L"DRAV Configuration", LauncherDriver::TextOf(box));
    ASSERT_TRUE(m_driver.DismissMessageBox(box));

    // Without the game there is no renderer to choose from: the stored display choice is
    // kept as it was, after the Options page's line.
    EXPECT_EQ("\"MusicEnable\" \"0\"\r\n\"Gamma\" \"1.2\"\r\n\"ScreenWidth\" \"1280\"\r\n"
              "\"ScreenHeight\" \"1024\"\r\n\"BitDepth\" \"32\"\r\n",
              m_retailSettings.Read());
    EXPECT_TRUE(m_driver.StaysOpen());
    m_driver.Click(m_driver.Button(IDCANCEL));
    EXPECT_TRUE(m_driver.WaitForExit(kTimeoutMs));
    EXPECT_TRUE(ReadGameReport(ReportPath()).empty());
}

TEST_F(EndToEndTest, FreeEditionSavesToItsOwnFolderAndStartsItsOwnGame)
{
    ScopedSettingsFile freeSettings("DRAVFree");
    m_installation.AddFromBuild(L"DRAV.exe");
    m_installation.AddFromBuild(L"DRAVMP.exe");
    m_installation.WriteFile("gamecfg.txt", "[General]\r\nPRODUCT_MPFREE=1\r\n");
    freeSettings.Write("\"DisableMovies\" \"1\"\r\n");
    StartLauncher();

    m_driver.Click(m_driver.Button(IDOK));
    ASSERT_TRUE(m_driver.WaitForExit(kTimeoutMs));
    ASSERT_TRUE(WaitForGameReport());

    GameReport report = ReadGameReport(ReportPath());
    EXPECT_EQ("DRAVMP.exe", report["game"]);
    EXPECT_EQ("1", report["DisableMovies"]);
    EXPECT_EQ(0u, freeSettings.Read().find("\"DisableMovies\" \"1\"\r\n"));
    EXPECT_EQ("", m_retailSettings.Read()) << "the retail settings must stay untouched";
}

TEST_F(EndToEndTest, ApplyThenCancelKeepsWhatApplyWroteAndStartsNothing)
{
    m_installation.AddFromBuild(L"DRAV.exe");
    StartLauncher();

    ASSERT_TRUE(m_driver.SelectTab(1));
    m_driver.Click(m_driver.PageControl(kDisableSoundBox));
    ApplyTheChange();
    const std::string applied = m_retailSettings.Read();
    EXPECT_EQ(0u, applied.find("\"DisableSound\" \"1\"\r\n\"DeviceName\" \"")) << applied;

    m_driver.Click(m_driver.Button(IDCANCEL));
    ASSERT_TRUE(m_driver.WaitForExit(kTimeoutMs));
    EXPECT_EQ(applied, m_retailSettings.Read());
    EXPECT_TRUE(ReadGameReport(ReportPath()).empty());
}

TEST_F(EndToEndTest, ReadOnlySettingsAreKeptAndTheGameIsNotStarted)
{
    m_installation.AddFromBuild(L"DRAV.exe");
    m_retailSettings.Write(kPreviousSettings);
    SetFileAttributesA(m_retailSettings.Path().c_str(), FILE_ATTRIBUTE_READONLY);
    StartLauncher();

    const HWND box = PressExpectingMessageBox(IDOK);
    ASSERT_TRUE(box);
    EXPECT_NE(std::wstring::npos, m_driver.MessageBoxText(box).find(L"could not be opened"));
    ASSERT_TRUE(m_driver.DismissMessageBox(box));

    EXPECT_EQ(kPreviousSettings, m_retailSettings.Read());
    EXPECT_TRUE(m_driver.StaysOpen());
    EXPECT_TRUE(ReadGameReport(ReportPath()).empty());
}

TEST_F(EndToEndTest, WithoutTheStringLibraryOrDatabaseTheFallbackTextsShowAndOkStillWorks)
{
    m_installation.AddFromBuild(L"DRAV.exe");
    const struct
    {
        const wchar_t* missing;
        const wchar_t* fallback;
    } cases[] = {{L"Config.Strdb00p", L"[Database Invalid]"},
                 {L"LexoraRuntime.dll", L"[Manager Invalid]"}};
    for (const auto& missing : cases)
    {
        SCOPED_TRACE(testing::Message() << "without " << std::wstring(missing.missing));
        m_installation.Remove(missing.missing);
        DeleteFileA(ReportPath().c_str());
        StartLauncher();

        EXPECT_EQ(missing.fallback, m_driver.Title());
        for (const std::wstring& caption : m_driver.TabCaptions())
            EXPECT_EQ(missing.fallback, caption);
        for (int button : {IDOK, IDCANCEL, kApplyButton})
            EXPECT_EQ(missing.fallback, LauncherDriver::TextOf(m_driver.Button(button)));

        m_driver.Click(m_driver.Button(IDOK));
        ASSERT_TRUE(m_driver.WaitForExit(kTimeoutMs));
        EXPECT_TRUE(WaitForGameReport());
    }
}

TEST_F(EndToEndTest, SettingsHeldByAnotherProgramAreKeptAndTheGameIsNotStarted)
{
    m_installation.AddFromBuild(L"DRAV.exe");
    m_retailSettings.Write(kPreviousSettings);
    const HANDLE holder = CreateFileA(m_retailSettings.Path().c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    StartLauncher();

    const HWND box = PressExpectingMessageBox(IDOK);
    CloseHandle(holder);
    ASSERT_TRUE(box);
    EXPECT_NE(std::wstring::npos, m_driver.MessageBoxText(box).find(L"could not be read"));
    ASSERT_TRUE(m_driver.DismissMessageBox(box));

    EXPECT_EQ(kPreviousSettings, m_retailSettings.Read());
    EXPECT_TRUE(m_driver.StaysOpen());
    EXPECT_TRUE(ReadGameReport(ReportPath()).empty());
}

TEST_F(EndToEndTest, StoredResolutionTheScreenLacksSurvivesAnApplyOfAnOption)
{
    m_installation.AddFromBuild(L"DRAV.exe");
    m_retailSettings.Write("\"ScreenWidth\" \"1600\"\r\n\"ScreenHeight\" \"1200\"\r\n"
                           "\"BitDepth\" \"32\"\r\n\"Gamma\" \"1.2\"\r\n");
    StartLauncher();
    for (const std::wstring& line :
         LauncherDriver::ListLines(m_driver.PageControl(kResolutionList)))
    {
        if (line.find(L"1600 x 1200 x 32") != std::wstring::npos)
            GTEST_SKIP() << "this screen offers 1600 x 1200";
    }

    ASSERT_TRUE(m_driver.SelectTab(1));
    m_driver.Click(m_driver.PageControl(kDisableSoundBox));
    ApplyTheChange();

    ExpectSavedLines(m_retailSettings.Read(), "\"DisableSound\" \"1\"", "1600", "1200");
}

TEST_F(EndToEndTest, ApplyKeepsAPairAnotherProgramAddedWhileTheLauncherWasOpen)
{
    m_installation.AddFromBuild(L"DRAV.exe");
    m_retailSettings.Write("\"Gamma\" \"1.2\"\r\n\"ScreenWidth\" \"1280\"\r\n"
                           "\"ScreenHeight\" \"1024\"\r\n\"BitDepth\" \"32\"\r\n");
    StartLauncher();
    // The game adds a pair and leaves out the resolution, which the player leaves alone.
    const std::string added = "\"Added\" \"by the game\"\r\n";
    m_retailSettings.Write("\"Gamma\" \"1.2\"\r\n" + added);

    ASSERT_TRUE(m_driver.SelectTab(1));
    ASSERT_TRUE(m_driver.Tick(m_driver.PageControl(kDisableSoundBox)));
    ApplyTheChange();

    const std::string saved = m_retailSettings.Read();
    ASSERT_GT(saved.size(), added.size());
    EXPECT_EQ(added, saved.substr(saved.size() - added.size())) << saved;
    ExpectSavedLines(saved.substr(0, saved.size() - added.size()), "\"DisableSound\" \"1\"", "1280",
                     "1024");
    ASSERT_TRUE(m_driver.SelectTab(0));
    const HWND resolutions = m_driver.PageControl(kResolutionList);
    const int shown = LauncherDriver::ListSelection(resolutions);
    ASSERT_GE(shown, 0) << "the list shows no resolution";
    EXPECT_EQ(L"* 1280 x 1024 x 32", LauncherDriver::ListLines(resolutions)[shown]);
}

// On a display of two monitors side by side that CTest makes for this test alone
// (two-monitor-display.sh), where Wine gives the second monitor the primary's modes.
TEST_F(EndToEndTest, OnTwoMonitorsTheSecondChosenIsStoredOfferedAgainAndKept)
{
    if (!GetEnvironmentVariableW(L"WINE_RUN_MONITORS", nullptr, 0))
        GTEST_SKIP() << "runs as the CTest test e2e_two_monitor_tests, on a display of its own";
    ASSERT_EQ(2, GetSystemMetrics(SM_CMONITORS));
    m_installation.AddFromBuild(L"DRAV.exe");
    m_retailSettings.Write("\"MusicEnable\" \"0\"\r\n\"Gamma\" \"1.2\"\r\n");

    // The first run lists both (their descriptions alike, their device names not) and chooses
    // the primary; the player chooses the other.
    StartLauncher();
    EXPECT_TRUE(WhollyOnOneMonitor(m_driver.Sheet()));
    const HWND displays = m_driver.PageControl(kDisplayList);
    const std::vector<std::wstring> lines = LauncherDriver::ListLines(displays);
    ASSERT_EQ(2u, lines.size());
    EXPECT_NE(std::wstring::npos, lines[0].find(L"(\\\\.\\DISPLAY1)")) << lines[0];
    EXPECT_NE(std::wstring::npos, lines[1].find(L"(\\\\.\\DISPLAY2)")) << lines[1];
    MONITORINFOEXW primary = {};
    primary.cbSize = sizeof primary;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({}, MONITOR_DEFAULTTOPRIMARY), &primary));
    EXPECT_EQ(primary.szDevice, std::wstring(L"\\\\.\\DISPLAY1"));
    EXPECT_EQ(0, LauncherDriver::ListSelection(displays));
    ASSERT_TRUE(m_driver.SelectListLine(displays, 1));
    ApplyTheChange();
    const std::string stored = m_retailSettings.Read();
    ExpectSavedLines(stored, "\"MusicEnable\" \"0\"", "1280", "1024");
    EXPECT_NE(std::string::npos, stored.find("\"DeviceName\" \"\\\\.\\DISPLAY2\"\r\n")) << stored;
    m_driver.Click(m_driver.Button(IDCANCEL));
    ASSERT_TRUE(m_driver.WaitForExit(kTimeoutMs));

    // The next opening offers it again, and a save of an option keeps it.
    StartLauncher();
    EXPECT_TRUE(WhollyOnOneMonitor(m_driver.Sheet()));
    EXPECT_EQ(1, LauncherDriver::ListSelection(m_driver.PageControl(kDisplayList)));
    ASSERT_TRUE(m_driver.SelectTab(1));
    ASSERT_TRUE(m_driver.Tick(m_driver.PageControl(kDisableSoundBox)));
    ApplyTheChange();
    EXPECT_EQ("\"DisableSound\" \"1\"\r\n" + stored, m_retailSettings.Read());
}
