// The real launcher worked with a game controller alone. The controller is the test's
// stand-in for XInput, installed in the system folder under XInput's names and loaded as a
// native DLL for the launcher's run; the test holds its buttons by writing its state file.
#include "tests/e2e/LauncherTest.h"
#include "tools/driver/WaitUntil.h"

#include <commctrl.h>
#include <prsht.h>
#include <tlhelp32.h>
#include <xinput.h>

#include <cwctype>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
const int kResolutionList = 1002;
const int kDisableSoundBox = 1001;
const int kDisableMusicBox = 1003;
const int kGamepadHints = 1100;
const wchar_t* const kXInputNames[] = {L"xinput1_4", L"xinput1_3", L"xinput9_1_0"};

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return length < MAX_PATH ? folder : L"";
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// The folders of the modules loaded in the process of `window`, by module file name, in lower
// case.
std::vector<std::pair<std::wstring, std::wstring>> LoadedModules(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    std::vector<std::pair<std::wstring, std::wstring>> modules;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
    if (snapshot == INVALID_HANDLE_VALUE)
        return modules;
    MODULEENTRY32W module = {};
    module.dwSize = sizeof module;
    for (BOOL more = Module32FirstW(snapshot, &module); more;
         more = Module32NextW(snapshot, &module))
    {
        const std::wstring path = Lower(module.szExePath);
        const size_t slash = path.rfind(L'\\');
        modules.emplace_back(path.substr(slash + 1), path.substr(0, slash));
    }
    CloseHandle(snapshot);
    return modules;
}

// The stand-in under XInput's names in the system folder, for the object's lifetime; the
// system's own DLLs are put aside and back.
class ScopedStandInXInput
{
public:
    ScopedStandInXInput()
    {
        const std::wstring standIn = BuildBinFolder() + L"\\StateFileXInput.dll";
        for (const wchar_t* name : kXInputNames)
        {
            const std::wstring path = SystemFolder() + L"\\" + name + L".dll";
            const std::wstring aside = path + L".put-aside-by-test";
            if (MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING))
                m_putAside.push_back(path);
            EXPECT_TRUE(CopyFileW(standIn.c_str(), path.c_str(), FALSE))
                << "cannot install " << name;
            m_installed.push_back(path);
        }
    }
    ~ScopedStandInXInput()
    {
        for (const std::wstring& path : m_installed)
            DeleteFileW(path.c_str());
        for (const std::wstring& path : m_putAside)
            MoveFileExW((path + L".put-aside-by-test").c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING);
    }
    ScopedStandInXInput(const ScopedStandInXInput&) = delete;
    ScopedStandInXInput& operator=(const ScopedStandInXInput&) = delete;

private:
    std::vector<std::wstring> m_installed;
    std::vector<std::wstring> m_putAside;
};

// True when Wine loads the DLLs of XInput's names from the system folder, not its own. Wine
// takes the overrides from the environment the run started with, not from what a program sets
// for the programs it starts, so CTest sets them for the whole run of these tests.
bool XInputLoadsNative()
{
    wchar_t overrides[512] = {};
    const DWORD length = GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 512);
    return length > 0 && length < 512 &&
           std::wstring(overrides).find(L"xinput1_4,xinput1_3,xinput9_1_0=n") != std::wstring::npos;
}

class GamepadTest : public LauncherTest
{
protected:
    GamepadTest()
        : m_stateFile(m_installation.Path("pad-state.txt")),
          m_stateFileVariable(L"XINPUT_STATE_FILE", Widen(m_stateFile))
    {
        m_installation.AddFromBuild(L"DRAV.exe");
    }

    void SetUp() override
    {
        if (!XInputLoadsNative())
            GTEST_SKIP() << "runs as the CTest test e2e_gamepad_tests, which has Wine load the "
                            "stand-in XInput";
        m_standIn = std::make_unique<ScopedStandInXInput>();
    }

    // Starts the launcher in `workingFolder` (its own folder when empty) with the controller
    // plugged in and nothing held, and waits until the sheet is in front and shows that it
    // found the controller.
    void StartLauncher(const std::wstring& workingFolder = std::wstring())
    {
        Hold(0);
        ASSERT_TRUE(m_driver.Start(m_installation.Launcher(), workingFolder.empty()
                                                                  ? m_installation.Folder()
                                                                  : workingFolder));
        ASSERT_TRUE(
            WaitUntil([this] { return GetForegroundWindow() == m_driver.Sheet(); }, kTimeoutMs))
            << "the sheet is not in front";
        ASSERT_TRUE(WaitUntil([this]
                              { return IsWindowVisible(m_driver.Button(kGamepadHints)) != FALSE; },
                              kTimeoutMs))
            << "the sheet shows no controller hints";
    }

    // Holds exactly `buttons` and the left stick at (x, y) from now on. Each hold in the tests
    // differs from the one before in a button that goes down, so the launcher sees that press
    // even when it never read the state in between.
    void Hold(WORD buttons, SHORT x = 0, SHORT y = 0)
    {
        const std::string state =
            std::to_string(buttons) + " " + std::to_string(x) + " " + std::to_string(y) + "\n";
        const std::string written = m_stateFile + ".new";
        m_installation.WriteFile("pad-state.txt.new", state);
        ASSERT_TRUE(WaitUntil(
            [&] {
                return MoveFileExA(written.c_str(), m_stateFile.c_str(),
                                   MOVEFILE_REPLACE_EXISTING) != FALSE;
            },
            kTimeoutMs));
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

    testing::AssertionResult BoxGetsTicked(int id)
    {
        const HWND box = m_driver.PageControl(id);
        if (WaitUntil([box] { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; },
                      kTimeoutMs))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << "box " << id << " stays clear";
    }

    bool PageShownIs(int index) const
    {
        const HWND page =
            reinterpret_cast<HWND>(SendMessageW(m_driver.Sheet(), PSM_GETCURRENTPAGEHWND, 0, 0));
        return page && page == reinterpret_cast<HWND>(
                                   SendMessageW(m_driver.Sheet(), PSM_INDEXTOHWND, index, 0));
    }

    std::string m_stateFile;
    std::unique_ptr<ScopedStandInXInput> m_standIn;
    ScopedEnvironmentVariable m_stateFileVariable;
};
} // namespace

TEST_F(GamepadTest, PickATickTwoBoxesChangePagesAndStartPlays)
{
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    ASSERT_TRUE(FocusArrivesOn(kResolutionList));
    // A takes the line the list shows selected as the chosen resolution.
    Hold(XINPUT_GAMEPAD_A);
    ASSERT_NO_FATAL_FAILURE(WaitUntilApplyIs(true)) << "A chose no resolution";

    // RB shows the Options page with the focus on its first box, A ticks it, the stick
    // pushed down goes to the box below, and A ticks that one.
    Hold(XINPUT_GAMEPAD_RIGHT_SHOULDER);
    ASSERT_TRUE(FocusArrivesOn(kDisableSoundBox));
    Hold(XINPUT_GAMEPAD_A);
    ASSERT_TRUE(BoxGetsTicked(kDisableSoundBox));
    Hold(0, 0, -32768);
    ASSERT_TRUE(FocusArrivesOn(kDisableMusicBox));
    const HWND focused = m_driver.FocusedWindow();
    EXPECT_EQ(0, SendMessageW(focused, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)
        << "the focus is not shown";
    Hold(XINPUT_GAMEPAD_A);
    ASSERT_TRUE(BoxGetsTicked(kDisableMusicBox));
    Hold(XINPUT_GAMEPAD_LEFT_SHOULDER);
    ASSERT_TRUE(WaitUntil([this] { return PageShownIs(0); }, kTimeoutMs)) << "LB did not go back";

    // Without its game the launcher says so in a box: A answers it, RB leaves the sheet behind
    // it alone, and the sheet reads the controller again once the box is gone.
    m_installation.Remove(L"DRAV.exe");
    Hold(XINPUT_GAMEPAD_START);
    const HWND box = m_driver.WaitForMessageBox(kTimeoutMs);
    ASSERT_NE(box, nullptr) << "Start did not press OK";
    Hold(XINPUT_GAMEPAD_RIGHT_SHOULDER);
    Hold(XINPUT_GAMEPAD_RIGHT_SHOULDER | XINPUT_GAMEPAD_A);
    ASSERT_TRUE(WaitUntil([box] { return !IsWindow(box); }, kTimeoutMs)) << "A left the box open";
    ASSERT_TRUE(m_driver.StaysOpen());
    EXPECT_TRUE(PageShownIs(0)) << "RB worked the sheet behind its box";
    ASSERT_TRUE(m_installation.AddFromBuild(L"DRAV.exe"));

    Hold(XINPUT_GAMEPAD_START);
    ASSERT_TRUE(m_driver.WaitForExit(kTimeoutMs)) << "Start did not press OK";
    ASSERT_TRUE(WaitForGameReport()) << "the game did not start";
    const std::string saved = m_retailSettings.Read();
    EXPECT_EQ(0u, saved.find("\"DisableSound\" \"1\"\r\n\"MusicEnable\" \"0\"\r\n\"DeviceName\""))
        << saved;
    EXPECT_NE(std::string::npos, saved.find("\"ScreenWidth\" \"")) << saved;
}

TEST_F(GamepadTest, BClosesWithoutWritingOrStartingTheGame)
{
    const char previous[] = "\"MusicEnable\" \"0\"\r\n\"Gamma\" \"1.2\"\r\n";
    m_retailSettings.Write(previous);
    ASSERT_NO_FATAL_FAILURE(StartLauncher());
    Hold(XINPUT_GAMEPAD_A);
    ASSERT_NO_FATAL_FAILURE(WaitUntilApplyIs(true)) << "A changed nothing";

    Hold(XINPUT_GAMEPAD_B);
    ASSERT_TRUE(m_driver.WaitForExit(kTimeoutMs)) << "B did not close the launcher";
    EXPECT_EQ(previous, m_retailSettings.Read());
    EXPECT_TRUE(ReadGameReport(ReportPath()).empty());
}

TEST_F(GamepadTest, XInputComesFromTheSystemFolderAndNoDllFromTheWorkingFolder)
{
    // DLLs of XInput's names beside the launcher, and one in the folder it works in that the
    // stand-in asks for by its bare name: the launcher's process loads none of them.
    for (const wchar_t* name : kXInputNames)
        ASSERT_TRUE(m_installation.AddFromBuild(L"StateFileXInput.dll",
                                                (std::wstring(name) + L".dll").c_str()));
    const TempFolder working;
    ASSERT_TRUE(CopyFileW((BuildBinFolder() + L"\\StateFileXInput.dll").c_str(),
                          Widen(working / "planted.dll").c_str(), FALSE));
    const ScopedEnvironmentVariable loads(L"XINPUT_STANDIN_LOADS", L"planted.dll");
    ASSERT_NO_FATAL_FAILURE(StartLauncher(Widen(working.Path())));

    int xinputs = 0;
    for (const auto& module : LoadedModules(m_driver.Sheet()))
    {
        EXPECT_NE(module.second, Lower(Widen(working.Path()))) << module.first;
        if (module.first.rfind(L"xinput", 0) != 0)
            continue;
        ++xinputs;
        EXPECT_EQ(module.second, Lower(SystemFolder())) << module.first;
    }
    EXPECT_GT(xinputs, 0);
}
