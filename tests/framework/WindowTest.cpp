#include "framework/DataExchange.h"
#include "framework/WinApp.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class StartUpApp : public CWinApp
{
public:
    explicit StartUpApp(BOOL result) : m_result(result) {}
    BOOL InitInstance() override
    {
        PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
        if (m_result)
            PostQuitMessage(7);
        return m_result;
    }

private:
    BOOL m_result;
};

bool ThreadMessageWaiting()
{
    MSG message;
    return PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_REMOVE) != FALSE;
}

int g_editChanges = 0;

INT_PTR CALLBACK CountEditChanges(HWND, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && wParam == MAKEWPARAM(IDC_EDIT_COMMAND_LINE, EN_CHANGE))
        ++g_editChanges;
    return FALSE;
}

// The Options template as a plain child dialog of a hidden top-level window.
class ChildDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_host = CreateWindowExW(0, L"STATIC", L"Host", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(m_dialog.Attach(CreateDialogParamW(GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(IDD_OPTIONS), m_host,
                                                       &CountEditChanges, 0)));
        g_editChanges = 0;
    }
    void TearDown() override { DestroyWindow(m_host); }

    HWND m_host = nullptr;
    CWnd m_dialog;
};

HWND g_boxOwner = nullptr;

void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (const HWND box = FindWindowW(L"#32770", L"Box caption"))
    {
        KillTimer(nullptr, timer);
        g_boxOwner = GetWindow(box, GW_OWNER);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}
} // namespace

TEST(WinApp, EntryPointRunsInitInstanceAndLoopsOnlyWhenItReturnsTrue)
{
    EXPECT_EQ(AfxWinMain(nullptr), -1) << "no application object";
    {
        StartUpApp app(FALSE);
        EXPECT_EQ(AfxGetApp(), &app);
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        EXPECT_EQ(AfxWinMain(instance), 0);
        EXPECT_EQ(app.m_hInstance, instance);
        EXPECT_TRUE(ThreadMessageWaiting()) << "no message loop ran";
    }
    EXPECT_EQ(AfxGetApp(), nullptr);
    StartUpApp app(TRUE);
    EXPECT_EQ(AfxWinMain(nullptr), 7);
    EXPECT_FALSE(ThreadMessageWaiting());
    EXPECT_FALSE(app.OnCommand(ID_HELP)) << "the base maps no command";
}

TEST(WinApp, RecordsRegistryKeyAndNestsWaitCursor)
{
    CWinApp app;
    app.SetRegistryKey(L"Kerrowind\\DRAV\\ConfigApp");
    EXPECT_EQ(app.GetRegistryKey(), L"Kerrowind\\DRAV\\ConfigApp");
    app.SetRegistryKey(nullptr);
    EXPECT_EQ(app.GetRegistryKey(), L"");

    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(arrow);
    {
        CWaitCursor outer;
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
        {
            CWaitCursor inner;
        }
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
    }
    EXPECT_EQ(GetCursor(), arrow);
}

TEST(Wnd, EmptyWrapperDoesNothing)
{
    CWnd empty;
    RECT rect = {1, 2, 3, 4};
    empty.GetWindowRect(&rect);
    EXPECT_TRUE(IsRectEmpty(&rect));
    EXPECT_EQ(empty.GetDlgItem(IDOK).GetSafeHwnd(), nullptr);
    EXPECT_FALSE(empty.SetWindowTextW(L"text"));
    EXPECT_EQ(empty.GetWindowTextW(), L"");
    EXPECT_EQ(empty.SendMessageW(WM_GETTEXTLENGTH), 0);
    EXPECT_FALSE(empty.IsWindowVisible() || empty.IsWindowEnabled() || empty.ShowWindow(SW_SHOW));
    EXPECT_FALSE(empty.Attach(nullptr));
    EXPECT_FALSE(empty.Attach(reinterpret_cast<HWND>(0x1234)));
    EXPECT_EQ(empty.Detach(), nullptr);
}

TEST_F(ChildDialog, FindsControlsAndSetsTheirTextPlaceAndState)
{
    CWnd sound = m_dialog.GetDlgItem(IDC_CHECK_DISABLE_SOUND);
    EXPECT_EQ(sound.GetSafeHwnd(), GetDlgItem(m_dialog.GetSafeHwnd(), IDC_CHECK_DISABLE_SOUND));
    EXPECT_EQ(m_dialog.GetDlgItem(4242).GetSafeHwnd(), nullptr);
    EXPECT_EQ(sound.GetWindowTextW(), L"Disable &Sound");
    const std::wstring longText(300, L'x');
    EXPECT_TRUE(sound.SetWindowTextW(longText.c_str()));
    EXPECT_EQ(sound.GetWindowTextW(), longText);
    sound.SetWindowTextW(L"");
    EXPECT_EQ(sound.GetWindowTextW(), L"");

    sound.MoveWindow(10, 20, 100, 30);
    RECT rect;
    sound.GetWindowRect(&rect);
    m_dialog.ScreenToClient(&rect);
    const RECT expected = {10, 20, 110, 50};
    EXPECT_TRUE(EqualRect(&rect, &expected));

    const CWnd edit = m_dialog.GetDlgItem(IDC_EDIT_COMMAND_LINE);
    ShowWindow(m_host, SW_SHOW);
    EXPECT_FALSE(sound.IsWindowVisible()) << "the template's dialog starts hidden";
    m_dialog.ShowWindow(SW_SHOW);
    EXPECT_TRUE(sound.IsWindowVisible() && sound.IsWindowEnabled());
    EXPECT_FALSE(edit.IsWindowVisible() || edit.IsWindowEnabled());

    const HWND dialog = m_dialog.GetSafeHwnd();
    EXPECT_EQ(m_dialog.Detach(), dialog);
    EXPECT_EQ(m_dialog.GetSafeHwnd(), nullptr);
}

TEST_F(ChildDialog, MessageBoxIsOwnedByTheWindow)
{
    CWnd host(m_host);
    g_boxOwner = nullptr;
    SetTimer(nullptr, 0, 50, &AnswerMessageBox);
    EXPECT_EQ(host.MessageBoxW(L"Text", L"Box caption"), IDOK);
    EXPECT_EQ(g_boxOwner, m_host);
}

TEST_F(ChildDialog, ButtonAndCheckExchangeTheCheckState)
{
    CWnd music;
    music.Attach(GetDlgItem(m_dialog.GetSafeHwnd(), IDC_CHECK_DISABLE_MUSIC));
    int value = 5;
    CDataExchange load(&m_dialog, FALSE);
    DDX_Check(&load, IDC_CHECK_DISABLE_MUSIC, value);
    EXPECT_EQ(music.SendMessageW(BM_GETCHECK), BST_CHECKED) << "any non-zero value checks";

    CDataExchange save(&m_dialog, TRUE);
    DDX_Check(&save, IDC_CHECK_DISABLE_MUSIC, value);
    EXPECT_EQ(value, 1);
    music.SendMessageW(BM_SETCHECK, BST_UNCHECKED);
    DDX_Check(&save, IDC_CHECK_DISABLE_MUSIC, value);
    EXPECT_EQ(value, 0);
    value = 0;
    DDX_Check(&load, IDC_CHECK_DISABLE_MUSIC, value);
    EXPECT_EQ(music.SendMessageW(BM_GETCHECK), BST_UNCHECKED);
    EXPECT_FALSE(load.Failed() || save.Failed());
}

TEST_F(ChildDialog, TextExchangeChangesTheControlOnlyForANewText)
{
    std::wstring text = L"-window";
    CDataExchange load(&m_dialog, FALSE);
    DDX_Text(&load, IDC_EDIT_COMMAND_LINE, text);
    EXPECT_EQ(g_editChanges, 1);
    DDX_Text(&load, IDC_EDIT_COMMAND_LINE, text);
    EXPECT_EQ(g_editChanges, 1) << "an equal text is left alone";

    SetDlgItemTextW(m_dialog.GetSafeHwnd(), IDC_EDIT_COMMAND_LINE, L"-nosound");
    CDataExchange save(&m_dialog, TRUE);
    DDX_Text(&save, IDC_EDIT_COMMAND_LINE, text);
    EXPECT_EQ(text, L"-nosound");
}

TEST_F(ChildDialog, ControlBindsToItsControlAndAMissingControlFailsTheExchange)
{
    CWnd sound;
    const HWND soundHwnd = GetDlgItem(m_dialog.GetSafeHwnd(), IDC_CHECK_DISABLE_SOUND);
    CDataExchange exchange(&m_dialog, TRUE);
    DDX_Control(&exchange, IDC_CHECK_DISABLE_SOUND, sound);
    DDX_Control(&exchange, IDC_CHECK_DISABLE_SOUND, sound);
    EXPECT_EQ(sound.GetSafeHwnd(), soundHwnd);
    EXPECT_FALSE(exchange.Failed());

    int value = 3;
    std::wstring text = L"kept";
    DDX_Control(&exchange, 4242, sound);
    EXPECT_EQ(sound.GetSafeHwnd(), soundHwnd);
    EXPECT_TRUE(exchange.Failed());
    CDataExchange other(&m_dialog, TRUE);
    DDX_Check(&other, 4242, value);
    DDX_Text(&other, 4242, text);
    EXPECT_TRUE(other.Failed());
    EXPECT_EQ(value, 3);
    EXPECT_EQ(text, L"kept");
}
