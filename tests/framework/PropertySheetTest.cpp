#include "tests/framework/TestSheet.h"

#include "framework/WinApp.h"
#include "tests/support/MessageBoxCloser.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace
{
bool Contains(const EventLog& log, const std::string& event)
{
    return std::find(log.begin(), log.end(), event) != log.end();
}

// A modeless run of a test sheet, pumped after every step.
class ModelessSheet : public ::testing::Test
{
protected:
    void Open(TestSheet& sheet)
    {
        m_hwnd = sheet.Create();
        ASSERT_NE(m_hwnd, nullptr);
        PumpMessages(m_hwnd);
    }
    HWND Button(int id) const { return GetDlgItem(m_hwnd, id); }
    void Click(int id)
    {
        SendMessageW(Button(id), BM_CLICK, 0, 0);
        PumpMessages(m_hwnd);
    }
    void SelectTab(int index)
    {
        PropSheet_SetCurSel(m_hwnd, nullptr, index);
        PumpMessages(m_hwnd);
    }
    // OK or Cancel ended the sheet; the window stays until its owner destroys it.
    bool Closed() const { return PropSheet_GetCurrentPageHwnd(m_hwnd) == nullptr; }

    HWND m_hwnd = nullptr;
};

std::wstring TabText(const CWnd& tab, int index)
{
    wchar_t text[64] = {};
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    tab.SendMessageW(TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

class RecordingApp : public CWinApp
{
public:
    BOOL OnCommand(UINT id) override
    {
        m_commands.push_back(id);
        return CWinApp::OnCommand(id);
    }
    std::vector<UINT> m_commands;
};
} // namespace

TEST_F(ModelessSheet, InitialisesAfterItsStartPageWithCopiedCaptionAndTemplateTabs)
{
    wchar_t caption[] = L"Caption";
    CPropertySheet sheet(caption);
    caption[0] = L'X';
    EventLog log;
    ListsPage page(log);
    sheet.AddPage(&page);
    EXPECT_EQ(CPropertySheet(L"No pages").DoModal(), -1);
    m_hwnd = sheet.Create();
    ASSERT_NE(m_hwnd, nullptr);
    EXPECT_EQ(sheet.Create(), nullptr) << "open already";
    EXPECT_EQ(sheet.DoModal(), -1);
    wchar_t shown[64] = {};
    GetWindowTextW(m_hwnd, shown, 64);
    EXPECT_STREQ(shown, L"Caption");

    TestSheet testSheet;
    bool visibleDuringInit = true;
    testSheet.m_afterInit = [&](TestSheet& initialising)
    { visibleDuringInit = initialising.IsWindowVisible() != FALSE; };
    Open(testSheet);
    EXPECT_EQ(testSheet.m_log, (EventLog{"init lists", "init sheet on lists"}));
    EXPECT_FALSE(visibleDuringInit) << "shown before it was complete";
    EXPECT_TRUE(IsWindowVisible(m_hwnd));
    EXPECT_EQ(testSheet.m_switches.GetSafeHwnd(), nullptr);

    const CWnd tab = testSheet.GetTabControl();
    ASSERT_NE(tab.GetSafeHwnd(), nullptr);
    EXPECT_EQ(tab.SendMessageW(TCM_GETITEMCOUNT), 2);
    EXPECT_EQ(TabText(tab, 0), L"Display");
    EXPECT_EQ(TabText(tab, 1), L"Options");
    wchar_t renamed[] = L"Switches";
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = renamed;
    EXPECT_TRUE(tab.SendMessageW(TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(TabText(tab, 1), L"Switches");
}

TEST_F(ModelessSheet, ExchangesPageDataWhenShownAndWhenLeft)
{
    TestSheet sheet;
    SwitchesPage& page = sheet.m_switches;
    page.m_sound = 7;
    Open(sheet);
    EXPECT_FALSE(page.UpdateData(TRUE)) << "no window yet";

    SelectTab(1);
    ASSERT_EQ(sheet.GetActivePage(), &page);
    EXPECT_EQ(page.m_checkSound.GetSafeHwnd(), GetDlgItem(page.GetSafeHwnd(), 1001));
    EXPECT_EQ(page.m_checkSound.SendMessageW(BM_GETCHECK), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(page.GetSafeHwnd(), IDC_CHECK_DISABLE_MUSIC), BST_UNCHECKED);
    EXPECT_EQ(page.m_editCommandLine.GetWindowTextW(), L"");
    EXPECT_EQ(page.m_changes, 0) << "loading an unchanged text is no change";
    EXPECT_FALSE(IsWindowEnabled(Button(ID_APPLY_NOW)));

    SendDlgItemMessageW(page.GetSafeHwnd(), IDC_CHECK_DISABLE_MUSIC, BM_CLICK, 0, 0);
    page.m_editCommandLine.SetWindowTextW(L"-window");
    EXPECT_EQ(page.m_changes, 2);
    EXPECT_TRUE(IsWindowEnabled(Button(ID_APPLY_NOW)));

    SelectTab(0);
    EXPECT_EQ(sheet.GetActivePage(), &sheet.m_lists);
    EXPECT_EQ(page.m_sound, 1);
    EXPECT_EQ(page.m_music, 1);
    EXPECT_EQ(page.m_commandLine, L"-window");
}

TEST_F(ModelessSheet, RoutesListNotificationsAndSetModifiedTogglesApply)
{
    TestSheet sheet;
    Open(sheet);
    ListsPage& page = sheet.m_lists;
    const HWND pageHwnd = page.GetSafeHwnd();
    EXPECT_EQ(page.m_listResolutions.GetSafeHwnd(), GetDlgItem(pageHwnd, IDC_LIST_RESOLUTIONS));
    EXPECT_FALSE(IsWindowEnabled(Button(ID_APPLY_NOW)));

    for (int id : {IDC_LIST_DISPLAYS, IDC_LIST_RENDERERS, IDC_STATIC_RENDERERS})
        SendMessageW(pageHwnd, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(pageHwnd, id)));
    SendMessageW(pageHwnd, WM_COMMAND, MAKEWPARAM(IDC_LIST_RESOLUTIONS, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(GetDlgItem(pageHwnd, IDC_LIST_RESOLUTIONS)));
    EXPECT_EQ(page.m_selChanges, (std::vector<WORD>{IDC_LIST_DISPLAYS, IDC_LIST_RENDERERS}));
    EXPECT_TRUE(IsWindowEnabled(Button(ID_APPLY_NOW)));

    page.SetModified(FALSE);
    EXPECT_FALSE(IsWindowEnabled(Button(ID_APPLY_NOW)));
}

TEST_F(ModelessSheet, CtrlTabAndCtrlShiftTabWrapAroundThePages)
{
    // Three pages: with two, a step back computed as -1 % 2 would still show the last page,
    // since the cast in PropSheet_SetCurSel makes the remainder unsigned.
    EventLog log;
    ListsPage pages[] = {ListsPage(log), ListsPage(log), ListsPage(log)};
    CPropertySheet sheet(L"Three pages");
    for (ListsPage& page : pages)
        sheet.AddPage(&page);
    m_hwnd = sheet.Create();
    ASSERT_NE(m_hwnd, nullptr);
    // The thread's key state says Ctrl is down, as while the player holds it.
    BYTE keys[256];
    ASSERT_TRUE(GetKeyboardState(keys));
    BYTE ctrlDown[256];
    std::copy(std::begin(keys), std::end(keys), ctrlDown);
    ctrlDown[VK_CONTROL] = 0x80;
    ASSERT_TRUE(SetKeyboardState(ctrlDown));
    const struct
    {
        int from;
        bool shift;
        int shown;
    } presses[] = {{0, true, 2}, {2, false, 0}};
    for (const auto& press : presses)
    {
        SelectTab(press.from);
        // What the modal loop makes of Ctrl+Tab and Ctrl+Shift+Tab, as of Tab and Shift+Tab.
        SendMessageW(m_hwnd, WM_NEXTDLGCTL, press.shift, 0);
        EXPECT_EQ(PropSheet_HwndToIndex(m_hwnd, PropSheet_GetCurrentPageHwnd(m_hwnd)), press.shown)
            << (press.shift ? "Ctrl+Shift+Tab" : "Ctrl+Tab") << " on page " << press.from;
    }
    SetKeyboardState(keys);
}

TEST_F(ModelessSheet, ApplyAndOkReachHandlersWhichAreNotReenteredByTheirPresses)
{
    for (bool pressByCommand : {false, true})
    {
        SCOPED_TRACE(pressByCommand ? "presses echoed as commands" : "PressButton");
        HandlerSheet sheet;
        sheet.m_pressByCommand = pressByCommand;
        Open(sheet);
        sheet.m_lists.SetModified(TRUE);

        Click(ID_APPLY_NOW);
        EXPECT_EQ(sheet.m_applyNowCalls, 1);
        EXPECT_TRUE(Contains(sheet.m_log, "apply lists"));
        EXPECT_FALSE(IsWindowEnabled(Button(ID_APPLY_NOW))) << "applied";
        EXPECT_FALSE(Closed());

        sheet.m_log.clear();
        Click(IDOK);
        EXPECT_EQ(sheet.m_okCalls, 1);
        EXPECT_EQ(sheet.m_applyNowCalls, 1);
        EXPECT_TRUE(Contains(sheet.m_log, "apply lists"));
        EXPECT_TRUE(Closed());
    }
}

TEST_F(ModelessSheet, WithoutHandlersTheControlAppliesClosesAndCancels)
{
    {
        TestSheet sheet;
        Open(sheet);
        sheet.m_lists.SetModified(TRUE);
        Click(ID_APPLY_NOW);
        EXPECT_EQ(sheet.m_log.back(), "apply lists");
        EXPECT_TRUE(sheet.PressButton(PSBTN_APPLYNOW));
        EXPECT_FALSE(Closed());
        Click(IDOK);
        EXPECT_TRUE(Closed());
        EXPECT_GT(PropSheet_GetResult(m_hwnd), 0);
    }
    {
        HandlerSheet sheet;
        Open(sheet);
        Click(IDCANCEL);
        EXPECT_TRUE(Closed());
        EXPECT_EQ(sheet.m_okCalls + sheet.m_applyNowCalls, 0);
        EXPECT_EQ(PropSheet_GetResult(m_hwnd), 0);
    }
}

TEST_F(ModelessSheet, PageThatFailsValidationStaysActiveAndStopsOk)
{
    HandlerSheet handled;
    handled.m_lists.m_exchangeMissingControl = true;
    Open(handled);
    EXPECT_FALSE(handled.m_lists.OnKillActive());
    SelectTab(1);
    EXPECT_EQ(handled.GetActivePage(), &handled.m_lists);
    Click(IDOK);
    EXPECT_EQ(handled.m_okCalls, 1);
    EXPECT_FALSE(Closed());

    TestSheet plain;
    plain.m_lists.m_exchangeMissingControl = true;
    Open(plain);
    Click(IDOK);
    EXPECT_FALSE(Closed()) << "the control's own OK asks the page too";
    EXPECT_FALSE(plain.PressButton(PSBTN_APPLYNOW)) << "a press reports the refusal";
    EXPECT_FALSE(Contains(plain.m_log, "apply lists"));
}

TEST_F(ModelessSheet, NotificationsFromOtherWindowsDoNotReachThePage)
{
    TestSheet sheet;
    Open(sheet);
    const HWND page = PropSheet_GetCurrentPageHwnd(m_hwnd);
    NMHDR header = {GetDlgItem(page, IDC_LIST_RESOLUTIONS), IDC_LIST_RESOLUTIONS,
                    static_cast<UINT>(PSN_APPLY)};
    SendMessageW(page, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    EXPECT_FALSE(Contains(sheet.m_log, "apply lists"));
    header.hwndFrom = m_hwnd;
    SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_TRUE(Contains(sheet.m_log, "apply lists"));
}

TEST_F(ModelessSheet, AHandlerThatThrowsIsReportedAndRefusesOk)
{
    MessageBoxCloser boxes;
    TestSheet sheet;
    sheet.m_lists.m_throwOnApply = true;
    Open(sheet);
    Click(IDOK);
    EXPECT_FALSE(Closed());
    const std::vector<ShownBox> shown = boxes.TakeBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].owner, m_hwnd);
}

TEST_F(ModelessSheet, HelpButtonFollowsHelpFlagsAndReachesTheApplication)
{
    RecordingApp app;
    {
        TestSheet sheet;
        Open(sheet);
        EXPECT_TRUE(IsWindowVisible(Button(IDHELP)));
        Click(IDHELP);
        EXPECT_EQ(app.m_commands, (std::vector<UINT>{ID_HELP}));
    }
    TestSheet sheet;
    sheet.m_psh.dwFlags &= ~PSH_HASHELP;
    sheet.m_lists.m_psp.dwFlags &= ~PSP_HASHELP;
    sheet.m_switches.m_psp.dwFlags &= ~PSP_HASHELP;
    Open(sheet);
    EXPECT_FALSE(IsWindowVisible(Button(IDHELP)));
}
