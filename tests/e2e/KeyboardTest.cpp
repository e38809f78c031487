// The real launcher worked with the keyboard alone: every key goes through the system's
// keyboard input to the launcher's window in front, as a player types it.
#include "tests/e2e/LauncherTest.h"
#include "tests/support/AccessKey.h"
#include "tools/driver/WaitUntil.h"

#include <cwchar>
#include <initializer_list>
#include <string>

namespace
{
const int kResolutionList = 1002;
const int kRendererList = 1004;
const int kDisplayList = 1003;
const int kResolutionsGroup = 1005;
const int kDisableMoviesBox = 1006;
// The check boxes in the order they stand on the Options page, top to bottom.
const int kOptionBoxes[] = {1001, 1003, 1002, 1006, 1007, 1008, 1009};

class KeyboardTest : public LauncherTest
{
protected:
    KeyboardTest() { m_installation.AddFromBuild(L"DRAV.exe"); }

    // Starts the launcher and waits until it is in front with the focus in its first list.
    void StartLauncher()
    {
        ASSERT_TRUE(m_driver.Start(m_installation.Launcher(), m_installation.Folder()));
        ASSERT_TRUE(
            WaitUntil([this] { return GetForegroundWindow() == m_driver.Sheet(); }, kTimeoutMs))
            << "the sheet is not in front";
        ASSERT_TRUE(FocusArrivesOn(kResolutionList));
    }

    // The key that types the access key of a control's caption; 0 when it has none.
    static WORD AccessKeyOf(HWND control)
    {
        const wchar_t key = AccessKey(LauncherDriver::TextOf(control));
        return key ? LOBYTE(VkKeyScanW(key)) : 0;
    }

    testing::AssertionResult FocusArrivesOn(int id)
    {
        if (WaitUntil([&] { return m_driver.FocusedWindow() == m_driver.PageControl(id); },
                      kTimeoutMs))
            return testing::AssertionSuccess();
        return testing::AssertionFailure()
               << "the focus is on control " << GetDlgCtrlID(m_driver.FocusedWindow())
               << ", not on " << id;
    }

    void Press(WORD key, std::initializer_list<WORD> modifiers = {})
    {
        EXPECT_TRUE(m_driver.PressKey(key, modifiers)) << "the system took no key " << key;
    }
};
} // namespace

TEST_F(KeyboardTest, ArrowsAccessKeysCtrlTabAndEnterSaveTheChoiceAndStartTheGame)
{
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    // Tab follows the layout: the resolutions on the left, then the renderers and the
    // displays below them on the right.
    Press(VK_TAB);
    ASSERT_TRUE(FocusArrivesOn(kRendererList));
    Press(VK_TAB);
    ASSERT_TRUE(FocusArrivesOn(kDisplayList));

    // The group box's access key leads to its list, where Down picks the next line (the one
    // line there is, on a screen with a single mode).
    Press(AccessKeyOf(m_driver.PageControl(kResolutionsGroup)), {VK_MENU});
    ASSERT_TRUE(FocusArrivesOn(kResolutionList));
    Press(VK_DOWN);
    ASSERT_NO_FATAL_FAILURE(WaitUntilApplyIs(true)) << "Down chose no resolution";
    const HWND resolutions = m_driver.PageControl(kResolutionList);
    const int selection = LauncherDriver::ListSelection(resolutions);
    ASSERT_GE(selection, 0) << "no resolution line is selected";
    const std::wstring line = LauncherDriver::ListLines(resolutions)[selection];
    // A line reads "1280 x 1024 x 32", with "* " before a non-standard size.
    const size_t size = line.find_first_not_of(L"* ");
    ASSERT_NE(size, std::wstring::npos) << "an empty line";
    int width = 0;
    int height = 0;
    ASSERT_EQ(2, swscanf(line.c_str() + size, L"%d x %d", &width, &height)) << line;

    // Ctrl+Tab shows the Options page with the focus on its first box; Tab goes down the boxes.
    Press(VK_TAB, {VK_CONTROL});
    for (int box : kOptionBoxes)
    {
        if (box != kOptionBoxes[0])
            Press(VK_TAB);
        ASSERT_TRUE(FocusArrivesOn(box));
    }
    // An access key ticks its box wherever the focus is.
    const HWND movies = m_driver.PageControl(kDisableMoviesBox);
    Press(AccessKeyOf(movies), {VK_MENU});
    ASSERT_TRUE(WaitUntil(
        [movies] { return SendMessageW(movies, BM_GETCHECK, 0, 0) == BST_CHECKED; }, kTimeoutMs));

    Press(VK_RETURN);
    ASSERT_TRUE(m_driver.WaitForExit(kTimeoutMs)) << "Enter did not press OK";
    ASSERT_TRUE(WaitForGameReport()) << "the game did not start";
    const std::string saved = m_retailSettings.Read();
    EXPECT_EQ(0u, saved.find("\"DisableMovies\" \"1\"\r\n\"DeviceName\" \"")) << saved;
    const std::string resolution = "\"ScreenWidth\" \"" + std::to_string(width) +
                                   "\"\r\n\"ScreenHeight\" \"" + std::to_string(height) +
                                   "\"\r\n\"BitDepth\" \"32\"\r\n";
    EXPECT_NE(std::string::npos, saved.find(resolution)) << saved;
}

TEST_F(KeyboardTest, EscapeClosesWithoutWritingOrStartingTheGame)
{
    const char previous[] = "\"MusicEnable\" \"0\"\r\n\"Gamma\" \"1.2\"\r\n";
    m_retailSettings.Write(previous);
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    Press(VK_DOWN);
    ASSERT_NO_FATAL_FAILURE(WaitUntilApplyIs(true)) << "Down changed nothing";

    Press(VK_ESCAPE);
    ASSERT_TRUE(m_driver.WaitForExit(kTimeoutMs)) << "Esc did not close the launcher";
    EXPECT_EQ(previous, m_retailSettings.Read());
    EXPECT_TRUE(ReadGameReport(ReportPath()).empty());
}
