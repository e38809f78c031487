#include "ui/PropertySheet_ConfigApp.h"

#include "settings/SettingsFolder.h"
#include "strings/StringDatabase.h"
#include "tests/support/FileContent.h"
#include "tests/support/GameSettingsReading.h"
#include "tests/support/MessagePump.h"
#include "tests/support/RenameRefusal.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"
#include "tests/ui/UiTestSupport.h"
#include "tools/driver/WaitUntil.h"
#include "ui/HandheldLayout.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace
{
const int kOptionsControls[] = {
    IDC_STATIC_COMMAND_LINE_FLAGS,   IDC_STATIC_ADVANCED_COMMAND_LINE, IDC_CHECK_DISABLE_SOUND,
    IDC_CHECK_DISABLE_MUSIC,         IDC_CHECK_DISABLE_JOYSTICKS,      IDC_CHECK_DISABLE_MOVIES,
    IDC_CHECK_DISABLE_SOUND_FILTERS, IDC_CHECK_DISABLE_HARDWARE_SOUND, IDC_CHECK_RESTORE_DEFAULTS,
};
const int kDisplayStatics[] = {IDC_STATIC_DISPLAYS, IDC_STATIC_RENDERERS, IDC_STATIC_RESOLUTIONS,
                               IDC_STATIC_WARNING};
const int kButtons[] = {IDOK, ID_APPLY_NOW, IDCANCEL, IDHELP};

// The text as a file written in text mode holds it.
std::string WithCrLf(const std::string& text)
{
    std::string result;
    for (char c : text)
        result += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return result;
}

// What the game reads in `bytes` for each of `keys`: the value its take finds, "-" for none.
std::vector<std::string> GameReads(const std::string& bytes, const std::vector<std::string>& keys)
{
    const std::vector<std::string> tokens = ReadSettingsAsTheGame(bytes).tokens;
    std::vector<std::string> values;
    for (const std::string& key : keys)
    {
        std::string value = "-";
        GameTakes(tokens, key, value);
        values.push_back(value);
    }
    return values;
}

// A disk that, while broken, takes half of each write at the start of a file and fails it.
bool g_diskBroken;
BOOL WINAPI WriteHalfAtTheStartWhileBroken(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                                           LPOVERLAPPED overlapped)
{
    LARGE_INTEGER zero = {}, at = {};
    SetFilePointerEx(file, zero, &at, FILE_CURRENT);
    if (!g_diskBroken || at.QuadPart != 0)
        return WriteFile(file, bytes, size, written, overlapped);
    WriteFile(file, bytes, size / 2, written, overlapped);
    SetLastError(ERROR_IO_DEVICE);
    return FALSE;
}

BOOLEAN WINAPI NoRandomBytes(PVOID, ULONG)
{
    return FALSE;
}

// The game makes settings.cfg at `g_madeMeanwhile` while the launcher writes its new file.
std::string g_madeMeanwhile;
BOOL WINAPI WriteWhileTheGameMakesTheFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                                          LPOVERLAPPED overlapped)
{
    if (!g_madeMeanwhile.empty())
        WriteWholeFile(g_madeMeanwhile, "\"MusicEnable\" \"0\"\r\n\"Other\" \"game\"\r\n");
    g_madeMeanwhile.clear();
    return WriteFile(file, bytes, size, written, overlapped);
}

// The sheet opened modeless in a fresh working folder (the installation folder), loading and
// saving settings.cfg in a settings folder of its own. Every message box it shows is closed
// and recorded.
class ConfigSheet : public testing::Test
{
protected:
    void Open(const std::string& databasePath = TestDatabasePath(),
              const SettingsFileCalls& calls = SettingsFileCalls())
    {
        m_database = std::make_unique<CStringDatabase>(databasePath.c_str());
        m_sheet = std::make_unique<CPropertySheet_ConfigApp>(
            L"Sheet", m_database.get(), [this] { return m_settingsPath; }, calls);
        m_hwnd = m_sheet->Create();
        ASSERT_NE(m_hwnd, nullptr);
        PumpMessages(m_hwnd);
    }

    HWND DisplayPage() const { return PropSheet_IndexToHwnd(m_hwnd, 0); }
    HWND OptionsPage() const { return PropSheet_IndexToHwnd(m_hwnd, 1); }
    HWND Button(int id) const { return GetDlgItem(m_hwnd, id); }
    bool ApplyEnabled() const { return IsWindowEnabled(Button(ID_APPLY_NOW)) != FALSE; }
    // OK or Cancel ended the sheet.
    bool Closed() const { return PropSheet_GetCurrentPageHwnd(m_hwnd) == nullptr; }

    void Click(HWND dialog, int id)
    {
        SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        PumpMessages(m_hwnd);
    }
    void ShowOptions()
    {
        PropSheet_SetCurSel(m_hwnd, nullptr, 1);
        PumpMessages(m_hwnd);
        ASSERT_NE(OptionsPage(), nullptr);
    }
    std::wstring TabText(int index) const
    {
        wchar_t text[64] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        m_sheet->GetTabControl().SendMessageW(TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
        return text;
    }
    RECT ButtonRect(int id) const
    {
        RECT rect;
        GetWindowRect(Button(id), &rect);
        MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // Every caption of the sheet and its pages that comes from the string database.
    std::vector<std::wstring> Captions()
    {
        std::vector<std::wstring> captions{TabText(0), TabText(1)};
        for (int id : kButtons)
            captions.push_back(ControlText(m_hwnd, id));
        for (int id : kDisplayStatics)
            captions.push_back(ControlText(DisplayPage(), id));
        ShowOptions();
        for (int id : kOptionsControls)
            captions.push_back(ControlText(OptionsPage(), id));
        return captions;
    }
    void ExpectOneBox(const wchar_t* text)
    {
        const std::vector<ShownBox> boxes = m_boxes.TakeBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].owner, m_hwnd);
        EXPECT_EQ(boxes[0].caption, L"Error-DialogTitle");
        EXPECT_EQ(boxes[0].text, text);
    }

    TempFolder m_working;
    ScopedCurrentDirectory m_inWorking{m_working.Path()};
    TempFolder m_settingsFolder;
    const std::string m_settingsPath = m_settingsFolder / "settings.cfg";
    MessageBoxCloser m_boxes;
    std::unique_ptr<CStringDatabase> m_database;
    std::unique_ptr<CPropertySheet_ConfigApp> m_sheet;
    HWND m_hwnd = nullptr;
};
} // namespace

TEST_F(ConfigSheet, CaptionsComeFromTheDatabaseAndOnlyTheOkButtonWidens)
{
    Open();
    const RECT cancel = ButtonRect(IDCANCEL);
    const RECT apply = ButtonRect(ID_APPLY_NOW);
    const RECT help = ButtonRect(IDHELP);
    const int buttonWidth = cancel.right - cancel.left;
    RECT ok = ButtonRect(IDOK);
    EXPECT_EQ(ok.right - ok.left, buttonWidth + static_cast<int>(buttonWidth * 0.4f));
    EXPECT_LT(ok.right, cancel.left) << "the right edge stays before Cancel";

    EXPECT_EQ(Captions(),
              (std::vector<std::wstring>{
                  L"Tab-Display", L"Tab-Options", L"Button-OK", L"Button-Apply", L"Button-Cancel",
                  L"Button-Help", L"Static-Displays", L"Static-Renderers", L"Static-Resolutions",
                  L"Static-Warning", L"Static-CommandLineFlags", L"Static-AdvancedCommandLine",
                  L"Check-DisableSound", L"Check-DisableMusic", L"Check-DisableJoysticks",
                  L"Check-DisableMovies", L"Check-DisableSoundFilters",
                  L"Check-DisableHardwareSound", L"Check-RestoreDefaults"}));
    EXPECT_FALSE(IsWindowVisible(Button(IDHELP)));
    EXPECT_FALSE(IsWindowVisible(Button(IDC_STATIC_GAMEPAD_HINTS))) << "hints without controller";

    // A 75-pixel OK button at left 100 grows by 30 pixels to the left.
    MoveWindow(Button(IDOK), 100, ok.top, 75, ok.bottom - ok.top, TRUE);
    m_sheet->LocalizeSheet();
    ok = ButtonRect(IDOK);
    EXPECT_EQ(ok.left, 70);
    EXPECT_EQ(ok.right, 175);
    EXPECT_EQ(ButtonRect(IDCANCEL).left, cancel.left);
    EXPECT_EQ(ButtonRect(ID_APPLY_NOW).left, apply.left);
    EXPECT_EQ(ButtonRect(IDHELP).left, help.left);
    EXPECT_EQ(TabText(0), L"Tab-Display") << "the tab control is asked for again";
}

TEST(HandheldLayout, SteamsOwnVariablesSetToOneMeanAHandheld)
{
    const struct
    {
        const wchar_t* deck;
        const wchar_t* gamepadUi;
        bool handheld;
    } rows[] = {
        {L"", L"", false},   {L"1", L"", true},   {L"", L"1", true},
        {L"0", L"0", false}, {L"11", L"", false},
    };
    for (const auto& row : rows)
    {
        const ScopedEnvironmentVariable deck(L"SteamDeck", row.deck);
        const ScopedEnvironmentVariable gamepadUi(L"SteamGamepadUI", row.gamepadUi);
        EXPECT_EQ(RunsOnHandheld(), row.handheld)
            << "SteamDeck=" << row.deck << " SteamGamepadUI=" << row.gamepadUi;
    }
}

TEST_F(ConfigSheet, WithoutDatabaseEveryCaptionIsTheFallbackText)
{
    Open(m_working / "Missing.Strdb00p");
    EXPECT_EQ(Captions(), std::vector<std::wstring>(19, L"[Database Invalid]"));
    EXPECT_TRUE(m_boxes.TakeBoxes().empty());
}

TEST_F(ConfigSheet, AppliesStoredSettingsAndWritesThemBackOnApplyAndOk)
{
    ASSERT_TRUE(CopyStandInGame(m_working / "DRAV.exe"));
    RendererInfo machine;
    ASSERT_TRUE(machine.EnumerateDisplays(L"DRAV.exe"));
    ASSERT_NE(machine.FirstDisplay(), nullptr);
    DisplayInfo& adapter = *machine.FirstDisplay();
    // The stored size is one the machine offers, so the test holds for whatever modes the
    // display server reports; the last one, so that it is not merely the first one listed.
    const ResolutionInfo* stored = nullptr;
    for (const ResolutionInfo* mode = adapter.FirstResolution(); mode;
         mode = adapter.NextResolution())
        stored = mode;
    ASSERT_NE(stored, nullptr);
    const std::string sizeLines = "\"ScreenWidth\" \"" + std::to_string(stored->GetWidth()) +
                                  "\"\n\"ScreenHeight\" \"" + std::to_string(stored->GetHeight()) +
                                  "\"\n\"BitDepth\" \"" + std::to_string(stored->GetBitDepth()) +
                                  "\"\n";
    std::string deviceName(adapter.GetDeviceName().begin(), adapter.GetDeviceName().end());
    std::string description(adapter.GetDescription().begin(), adapter.GetDescription().end());
    WriteWholeFile(m_settingsPath, "\"Other\" \"kept one\"\n\"DisableSound\" \"1\"\n"
                                   "\"MusicEnable\" \"0\"\n\"DeviceName\" \"" +
                                       deviceName + "\"\n" + sizeLines +
                                       "\"DisableSound\" \"0\"\n");
    Open();

    EXPECT_EQ(SelectedLine(DisplayPage(), IDC_LIST_DISPLAYS), adapter.GetLabel());
    EXPECT_EQ(SelectedLine(DisplayPage(), IDC_LIST_RESOLUTIONS), stored->GetLabel());
    const std::string displayLines =
        "\"DeviceName\" \"" + deviceName + "\"\n\"Renderer\" \"" + description + "\"\n" + sizeLines;
    // The second "DisableSound" goes with the first: the game would read neither after the
    // page's line.
    const std::string remainingLines = "\"Other\" \"kept one\"\n";
    EXPECT_EQ(m_sheet->ComposeSettingsText(),
              "\"DisableSound\" \"1\"\n\"MusicEnable\" \"0\"\n" + displayLines + remainingLines);

    ShowOptions();
    EXPECT_EQ(IsDlgButtonChecked(OptionsPage(), IDC_CHECK_DISABLE_SOUND), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(OptionsPage(), IDC_CHECK_DISABLE_MUSIC), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(OptionsPage(), IDC_CHECK_DISABLE_MOVIES), BST_UNCHECKED);
    EXPECT_FALSE(ApplyEnabled());
    for (int id : {IDC_CHECK_DISABLE_MUSIC, IDC_CHECK_DISABLE_MOVIES})
        Click(OptionsPage(), id);
    EXPECT_TRUE(ApplyEnabled());
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(OptionsPage(), IDC_EDIT_COMMAND_LINE)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(OptionsPage(), IDC_STATIC_ADVANCED_COMMAND_LINE)));

    // Apply takes the boxes into the page, writes the whole file and greys itself.
    Click(m_hwnd, ID_APPLY_NOW);
    EXPECT_EQ(ReadWholeFile(m_settingsPath),
              WithCrLf("\"DisableSound\" \"1\"\n\"DisableMovies\" \"1\"\n" + displayLines +
                       remainingLines));
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_FALSE(Closed());

    // A read-only file cannot be opened: the box tells so and the file stays as it was.
    const std::string before = ReadWholeFile(m_settingsPath);
    SetFileAttributesA(m_settingsPath.c_str(), FILE_ATTRIBUTE_READONLY);
    Click(OptionsPage(), IDC_CHECK_RESTORE_DEFAULTS);
    Click(m_hwnd, ID_APPLY_NOW);
    ExpectOneBox(L"Error-FileOpenFailed");
    Click(m_hwnd, IDOK);
    ExpectOneBox(L"Error-FileOpenFailed");
    EXPECT_FALSE(Closed()) << "no game without its settings";
    EXPECT_EQ(ReadWholeFile(m_settingsPath), before);

    // OK writes the file, starts the game and closes the sheet.
    SetFileAttributesA(m_settingsPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string report = m_working / "report.txt";
    ScopedEnvironmentVariable reportTo(L"DRAV_STANDIN_REPORT", Widen(report));
    Click(m_hwnd, IDOK);
    EXPECT_TRUE(m_boxes.TakeBoxes().empty());
    EXPECT_TRUE(Closed());
    EXPECT_EQ(
        ReadWholeFile(m_settingsPath),
        WithCrLf("\"RestoreDefaults\" \"1\"\n\"DisableSound\" \"1\"\n\"DisableMovies\" \"1\"\n" +
                 displayLines + remainingLines));
    EXPECT_TRUE(WaitUntil([&] { return !ReadGameReport(report).empty(); }, 10000))
        << "the game did not start";
}

TEST_F(ConfigSheet, ApplyStaysAvailableToRetryAfterAFailedSave)
{
    WriteWholeFile(m_settingsPath, "\"Other\" \"kept\"\r\n");
    SetFileAttributesA(m_settingsPath.c_str(), FILE_ATTRIBUTE_READONLY);
    Open();
    ShowOptions();
    Click(OptionsPage(), IDC_CHECK_DISABLE_SOUND);
    Click(m_hwnd, ID_APPLY_NOW);
    ExpectOneBox(L"Error-FileOpenFailed");
    EXPECT_TRUE(ApplyEnabled());

    SetFileAttributesA(m_settingsPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    Click(m_hwnd, ID_APPLY_NOW);
    EXPECT_TRUE(m_boxes.TakeBoxes().empty());
    EXPECT_FALSE(ApplyEnabled());
    EXPECT_EQ(ReadWholeFile(m_settingsPath), "\"DisableSound\" \"1\"\r\n\"Other\" \"kept\"\r\n");
}

TEST_F(ConfigSheet, APairEndingInABackslashKeepsTheNextPairApartOverTwoSaves)
{
    WriteWholeFile(m_settingsPath, "\"Folder\" C:\\Games\\ \"Other\" \"kept one\"\n");
    std::string saves[2];
    for (std::string& saved : saves)
    {
        Open();
        ShowOptions();
        Click(OptionsPage(), IDC_CHECK_DISABLE_MUSIC);
        Click(OptionsPage(), IDC_CHECK_DISABLE_MUSIC);
        Click(m_hwnd, ID_APPLY_NOW);
        Click(m_hwnd, IDCANCEL);
        ASSERT_TRUE(Closed());
        saved = ReadWholeFile(m_settingsPath);
    }
    EXPECT_EQ(saves[1], saves[0]);
    CSettingsFile reloaded = CSettingsFile::Load(m_settingsPath.c_str());
    EXPECT_EQ(reloaded.TakeString("Folder", ""), "C:\\Games\\\\");
    EXPECT_EQ(reloaded.TakeString("Other", ""), "kept one");
}

TEST_F(ConfigSheet, OkWithoutGameExecutableWritesSettingsShowsTheLaunchErrorAndStaysOpen)
{
    WriteWholeFile(m_settingsPath,
                   "\"DeviceName\" \"\\\\.\\DISPLAY1\"\n\"Renderer\" \"Card\"\n"
                   "\"ScreenWidth\" \"640\"\n\"ScreenHeight\" \"480\"\n\"BitDepth\" \"32\"\n"
                   "\"Other\" \"kept\"\n\"Odd\"\n");
    Open();
    EXPECT_EQ(SendDlgItemMessageW(DisplayPage(), IDC_LIST_RENDERERS, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendDlgItemMessageW(DisplayPage(), IDC_LIST_RESOLUTIONS, LB_GETCOUNT, 0, 0), 0);

    Click(m_hwnd, IDOK);
    ExpectOneBox(L"Error-ExecutableLaunch");
    EXPECT_FALSE(Closed());
    // Without a renderer the stored display keys are written back as they were; a token
    // without a value is not written.
    EXPECT_EQ(ReadWholeFile(m_settingsPath),
              "\"DeviceName\" \"\\\\.\\DISPLAY1\"\r\n\"Renderer\" \"Card\"\r\n"
              "\"ScreenWidth\" \"640\"\r\n\"ScreenHeight\" \"480\"\r\n\"BitDepth\" \"32\"\r\n"
              "\"Other\" \"kept\"\r\n");
}

TEST_F(ConfigSheet, SwitchesStoredInAFileHeldAtOpenAreKeptOnceItCanBeRead)
{
    ASSERT_TRUE(CopyStandInGame(m_working / "DRAV.exe"));
    WriteWholeFile(m_settingsPath,
                   "\"MusicEnable\" \"0\"\n\"DisableMovies\" \"1\"\n\"Other\" \"kept\"\n");
    const HANDLE holder =
        CreateFileA(m_settingsPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Open();

    ShowOptions();
    Click(OptionsPage(), IDC_CHECK_DISABLE_SOUND);
    Click(m_hwnd, IDOK);
    ExpectOneBox(L"Error-FileReadFailed");
    EXPECT_FALSE(Closed());
    CloseHandle(holder);
    EXPECT_EQ(ReadWholeFile(m_settingsPath),
              "\"MusicEnable\" \"0\"\n\"DisableMovies\" \"1\"\n\"Other\" \"kept\"\n");

    // Once the other program let go, the switches the player never saw are kept, and shown.
    Click(m_hwnd, ID_APPLY_NOW);
    EXPECT_TRUE(m_boxes.TakeBoxes().empty());
    const std::string saved = ReadWholeFile(m_settingsPath);
    EXPECT_EQ(saved.rfind(WithCrLf("\"DisableSound\" \"1\"\n\"MusicEnable\" \"0\"\n"
                                   "\"DisableMovies\" \"1\"\n\"DeviceName\" "),
                          0),
              0u)
        << saved;
    EXPECT_NE(saved.find("\"Other\" \"kept\"\r\n"), std::string::npos) << saved;
    EXPECT_EQ(IsDlgButtonChecked(OptionsPage(), IDC_CHECK_DISABLE_MUSIC), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(OptionsPage(), IDC_CHECK_DISABLE_MOVIES), BST_CHECKED);
}

TEST_F(ConfigSheet, ApplyOfAnOptionKeepsAStoredResolutionTheDisplayLacks)
{
    ASSERT_TRUE(CopyStandInGame(m_working / "DRAV.exe"));
    const std::string stored = "\"ScreenWidth\" \"1024\"\n\"ScreenHeight\" \"768\"\n"
                               "\"BitDepth\" \"16\"\n\"Other\" \"kept\"\n";
    WriteWholeFile(m_settingsPath, stored);
    Open();

    ShowOptions();
    Click(OptionsPage(), IDC_CHECK_DISABLE_SOUND);
    Click(m_hwnd, ID_APPLY_NOW);
    const std::string saved = ReadWholeFile(m_settingsPath);
    EXPECT_EQ(saved.rfind("\"DisableSound\" \"1\"\r\n\"DeviceName\" ", 0), 0u) << saved;
    // The stored lines stand where the page's resolution would, before the pairs it does not own.
    const std::string kept = WithCrLf(stored);
    ASSERT_GT(saved.size(), kept.size());
    EXPECT_EQ(saved.substr(saved.size() - kept.size()), kept) << saved;
}

TEST_F(ConfigSheet, ASaveKeepsWhatAnotherProgramChangedMeanwhileAndThePlayerDidNot)
{
    ASSERT_TRUE(CopyStandInGame(m_working / "DRAV.exe"));
    WriteWholeFile(m_settingsPath, "\"DisableSound\" \"1\"\n\"ScreenWidth\" \"1024\"\n"
                                   "\"ScreenHeight\" \"768\"\n\"BitDepth\" \"16\"\n"
                                   "\"Other\" \"kept\"\n");
    Open();
    // Then the game rewrites the file: its own pairs, two switches, the resolution, and a
    // switch stored twice, whose second copy goes with the first.
    WriteWholeFile(m_settingsPath, "\"Other\" \"changed\"\n\"DisableSound\" \"0\"\n"
                                   "\"DisableMovies\" \"1\"\n\"ScreenWidth\" \"800\"\n"
                                   "\"ScreenHeight\" \"600\"\n\"BitDepth\" \"16\"\n"
                                   "\"Added\" \"new\"\n\"DisableJoystick\" \"0\"\n"
                                   "\"DisableJoystick\" \"1\"\n");
    // The player chooses a resolution, which the game changed too, and a switch it left alone.
    const std::wstring mode = SelectedLine(DisplayPage(), IDC_LIST_RESOLUTIONS);
    ASSERT_TRUE(SelectLine(DisplayPage(), IDC_LIST_RESOLUTIONS, mode));
    ShowOptions();
    Click(OptionsPage(), IDC_CHECK_DISABLE_HARDWARE_SOUND);
    Click(m_hwnd, ID_APPLY_NOW);
    EXPECT_TRUE(m_boxes.TakeBoxes().empty());

    // The game's switches, the player's switch and resolution, then the other pairs as the
    // game left them.
    const std::string saved = ReadWholeFile(m_settingsPath);
    EXPECT_EQ(saved.rfind("\"DisableMovies\" \"1\"\r\n\"DisableHardwareSound\" \"1\"\r\n"
                          "\"DeviceName\" ",
                          0),
              0u)
        << saved;
    EXPECT_EQ(saved.find("\"BitDepth\" \"16\""), std::string::npos) << saved;
    const std::string kept = WithCrLf("\"Other\" \"changed\"\n\"Added\" \"new\"\n");
    ASSERT_GT(saved.size(), kept.size());
    EXPECT_EQ(saved.substr(saved.size() - kept.size()), kept) << saved;
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 9) << saved;
    EXPECT_EQ(IsDlgButtonChecked(OptionsPage(), IDC_CHECK_DISABLE_SOUND), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(OptionsPage(), IDC_CHECK_DISABLE_MOVIES), BST_CHECKED);

    // Unchanged since, the file is saved the same way again.
    Click(OptionsPage(), IDC_CHECK_DISABLE_MOVIES);
    Click(OptionsPage(), IDC_CHECK_DISABLE_MOVIES);
    Click(m_hwnd, ID_APPLY_NOW);
    EXPECT_EQ(ReadWholeFile(m_settingsPath), saved);
}

TEST_F(ConfigSheet, ASaveSeesARewriteOfTheSameSizeWhoseWriteTimeWasPutBack)
{
    WriteWholeFile(m_settingsPath, "\"Other\" \"kept\"\n");
    Open();
    // Another program rewrites the file in place with as many bytes and restores its write time.
    const HANDLE file = CreateFileA(m_settingsPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME written;
    const char rewritten[] = "\"Other\" \"game\"\n";
    DWORD count = 0;
    EXPECT_TRUE(GetFileTime(file, nullptr, nullptr, &written));
    EXPECT_TRUE(WriteFile(file, rewritten, sizeof rewritten - 1, &count, nullptr));
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    CloseHandle(file);

    ShowOptions();
    Click(OptionsPage(), IDC_CHECK_DISABLE_SOUND);
    Click(m_hwnd, ID_APPLY_NOW);
    EXPECT_EQ(ReadWholeFile(m_settingsPath), "\"DisableSound\" \"1\"\r\n\"Other\" \"game\"\r\n");
}

TEST_F(ConfigSheet, AFileThatCannotBeReadOrWrittenAtSaveTimeIsKeptAndTheBoxSaysWhich)
{
    const struct
    {
        DWORD access;
        DWORD sharing;
        bool sharedLock;
        const wchar_t* box;
    } holders[] = {
        // A program writing the file: the save cannot read what it holds now.
        {GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, false,
         L"Error-FileReadFailed"},
        // A program that reads it under a lock and lets nobody delete it: the file opens for
        // writing, but cannot be written.
        {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, true, L"Error-FileWriteFailed"},
    };
    WriteWholeFile(m_settingsPath, "\"Other\" \"kept\"\r\n");
    Open();
    ShowOptions();
    for (const auto& holder : holders)
    {
        const HANDLE file = CreateFileA(m_settingsPath.c_str(), holder.access, holder.sharing,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        OVERLAPPED range = {};
        EXPECT_TRUE(!holder.sharedLock || LockFileEx(file, 0, 0, MAXDWORD, 0, &range));
        Click(OptionsPage(), IDC_CHECK_DISABLE_SOUND);
        Click(m_hwnd, ID_APPLY_NOW);
        CloseHandle(file);

        ExpectOneBox(holder.box);
        EXPECT_EQ(ReadWholeFile(m_settingsPath), "\"Other\" \"kept\"\r\n");
        EXPECT_FALSE(PathExists((m_settingsFolder / "settings.cfg.new").c_str()));
    }
}

TEST_F(ConfigSheet, AfterARewriteThatLeftTheFileDamagedTheNextApplyWritesTheSheetsOwnPairs)
{
    WriteWholeFile(m_settingsPath, "\"Other\" \"kept\"\r\n\"More\" \"pairs\"\r\n");
    SettingsFileCalls calls;
    calls.setInformation = RefuseRenames<static_cast<LONG>(0xC00000D4L)>; // not the same device
    calls.writeInPlace = WriteHalfAtTheStartWhileBroken;
    g_diskBroken = true;
    Open(TestDatabasePath(), calls);
    ShowOptions();
    Click(OptionsPage(), IDC_CHECK_DISABLE_SOUND);
    Click(m_hwnd, ID_APPLY_NOW);
    ExpectOneBox(L"Error-FileWriteFailedDamaged");

    g_diskBroken = false;
    Click(m_hwnd, ID_APPLY_NOW);
    EXPECT_TRUE(m_boxes.TakeBoxes().empty());
    EXPECT_EQ(ReadWholeFile(m_settingsPath),
              "\"DisableSound\" \"1\"\r\n\"Other\" \"kept\"\r\n\"More\" \"pairs\"\r\n");
}

TEST_F(ConfigSheet, AFileTheGameMakesDuringTheFirstSaveIsMergedAndShown)
{
    SettingsFileCalls calls;
    calls.write = WriteWhileTheGameMakesTheFile;
    g_madeMeanwhile = m_settingsPath;
    Open(TestDatabasePath(), calls);
    ShowOptions();
    Click(OptionsPage(), IDC_CHECK_DISABLE_SOUND);
    Click(m_hwnd, ID_APPLY_NOW);
    EXPECT_TRUE(m_boxes.TakeBoxes().empty());
    EXPECT_EQ(ReadWholeFile(m_settingsPath),
              "\"DisableSound\" \"1\"\r\n\"MusicEnable\" \"0\"\r\n\"Other\" \"game\"\r\n");
    EXPECT_EQ(IsDlgButtonChecked(OptionsPage(), IDC_CHECK_DISABLE_MUSIC), BST_CHECKED);
}

TEST_F(ConfigSheet, AFailedFirstSaveSaysTheFileCouldNotBeCreatedAndMakesNone)
{
    // The new file cannot be written, or not even made (no name for it).
    SettingsFileCalls brokenDisk;
    brokenDisk.write = WriteHalfAtTheStartWhileBroken;
    SettingsFileCalls noNewFile;
    noNewFile.random = NoRandomBytes;
    g_diskBroken = true;
    for (const SettingsFileCalls* calls : {&brokenDisk, &noNewFile})
    {
        Open(TestDatabasePath(), *calls);
        ShowOptions();
        Click(OptionsPage(), IDC_CHECK_DISABLE_SOUND);
        Click(m_hwnd, ID_APPLY_NOW);
        ExpectOneBox(L"Error-FileCreateFailed");
        EXPECT_FALSE(PathExists(m_settingsPath.c_str()));
    }
}

TEST_F(ConfigSheet, AChoiceTakenFromTheFileAtAFailedSaveStaysTheFilesToTake)
{
    g_diskBroken = false;
    WriteWholeFile(m_settingsPath, "\"DisableMovies\" \"1\"\n");
    SettingsFileCalls calls;
    calls.write = WriteHalfAtTheStartWhileBroken;
    Open(TestDatabasePath(), calls);
    ShowOptions();
    Click(OptionsPage(), IDC_CHECK_DISABLE_SOUND);
    // The game turns the music off; the save takes that over and fails on the disk.
    WriteWholeFile(m_settingsPath, "\"MusicEnable\" \"0\"\n");
    g_diskBroken = true;
    Click(m_hwnd, ID_APPLY_NOW);
    ExpectOneBox(L"Error-FileWriteFailed");
    EXPECT_EQ(IsDlgButtonChecked(OptionsPage(), IDC_CHECK_DISABLE_MUSIC), BST_CHECKED);

    // Then the game turns it on again, and the next save takes that over too.
    WriteWholeFile(m_settingsPath, "\"MusicEnable\" \"1\"\n");
    g_diskBroken = false;
    Click(m_hwnd, ID_APPLY_NOW);
    EXPECT_TRUE(m_boxes.TakeBoxes().empty());
    EXPECT_EQ(ReadWholeFile(m_settingsPath), "\"DisableSound\" \"1\"\r\n");
}

TEST_F(ConfigSheet, ASaveWithNothingTouchedLeavesTheGameReadingWhatTheSheetShowed)
{
    std::string unmarkedUtf16;
    for (const char byte : std::string("\"DisableMovies\" \"1\"\r\n\"Gamma\" \"1.2\"\r\n"))
        unmarkedUtf16 += std::string{byte, '\0'};
    const std::vector<std::string> keys = {"DisableSound", "MusicEnable", "DisableMovies", "Gamma"};
    // What the game reads before and after, for each of `keys`. A switch the sheet shows at its
    // default may be unset, or set to that default.
    const struct
    {
        const char* shape;
        std::string bytes;
        std::vector<std::string> before;
        std::vector<std::string> after;
    } files[] = {
        {"a switch stored twice",
         "\"DisableSound\" \"0\"\r\n\"MusicEnable\" \"0\"\r\n\"DisableSound\" \"1\"\r\n"
         "\"MusicEnable\" \"1\"\r\n",
         {"0", "0", "-", "-"},
         {"-", "0", "-", "-"}},
        {"a value that is a switch's key",
         "\"Note\" \"MusicEnable\"\r\n\"Keep\" \"me\"\r\n",
         {"-", "Keep", "-", "-"},
         {"-", "1", "-", "-"}},
        {"a quoted value across two lines",
         "\"Gamma\" \"1.2\r\n1.3\"\r\n\"DisableMovies\" \"1\"\r\n",
         {"-", "-", "1", "1.2\r\n1.3"},
         {"-", "-", "1", "1.2\r\n1.3"}},
        {"a key and its value on two lines",
         "\"Gamma\"\r\n\"1.2\"\r\n\"DisableMovies\" \"1\"\r\n",
         {"-", "-", "1", "1.2"},
         {"-", "-", "1", "1.2"}},
        // The game reads nothing of it; the sheet shows it, and the game reads that after.
        {"UTF-16 without a byte-order mark",
         unmarkedUtf16,
         {"-", "-", "-", "-"},
         {"-", "-", "1", "1.2"}},
        // The quote after the backslash is dropped: to the game the value takes the next line's
        // opening quote, and the key after it is no key. The sheet shows the switch set.
        {"a folder, nothing escaped",
         "\"Gamma\" \"C:\\Mods\\\"\r\n\"DisableMovies\" \"1\"\r\n",
         {"-", "-", "-", "C:\\Mods\\\r\n"},
         {"-", "-", "1", "C:\\Mods\\\\"}},
        {"a stray quote",
         "\"Gamma\" \"1.2\" mid\"\r\n\"DisableMovies\" \"1\"\r\n",
         {"-", "-", "-", "1.2"},
         {"-", "-", "1", "1.2"}},
        // To the game the text ends at the first zero byte; the sheet reads on.
        {"zero bytes",
         "\"Gamma\" \"1.2\"\r\n" + std::string(8, '\0') + "\"DisableMovies\" \"1\"\r\n",
         {"-", "-", "-", "1.2"},
         {"-", "-", "1", "1.2"}},
    };
    for (const auto& file : files)
    {
        SCOPED_TRACE(file.shape);
        WriteWholeFile(m_settingsPath, file.bytes);
        EXPECT_EQ(GameReads(file.bytes, keys), file.before);
        Open();
        EXPECT_TRUE(m_sheet->SaveSettingsFile());
        EXPECT_EQ(GameReads(ReadWholeFile(m_settingsPath), keys), file.after)
            << ReadWholeFile(m_settingsPath);
    }
}
