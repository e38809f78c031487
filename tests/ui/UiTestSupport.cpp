#include "tests/ui/UiTestSupport.h"

#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"

#include <commctrl.h>

#include <cwchar>

namespace
{
// The control id of a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::string Narrow(const std::wstring& ascii)
{
    return std::string(ascii.begin(), ascii.end());
}
} // namespace

std::string TestDatabasePath()
{
    return Narrow(BuildBinFolder()) + "\\UiTest.Strdb00p";
}

bool CopyStandInGame(const std::string& path)
{
    const std::wstring source = BuildBinFolder() + L"\\DRAV.exe";
    return CopyFileW(source.c_str(), Widen(path).c_str(), FALSE) != FALSE;
}

CSettingsFile StoredSettings(const std::string& content)
{
    TempFolder folder;
    folder.WriteFile("settings.cfg", content);
    return CSettingsFile::Load((folder / "settings.cfg").c_str());
}

std::wstring ControlText(HWND dialog, int id)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

std::wstring SelectedLine(HWND dialog, int id)
{
    const HWND list = GetDlgItem(dialog, id);
    const LRESULT line = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR)
        return std::wstring();
    std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, line, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(&text[0]));
    return text;
}

bool SelectLine(HWND dialog, int id, const std::wstring& text)
{
    const HWND list = GetDlgItem(dialog, id);
    const LRESULT line = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(text.c_str()));
    if (line == LB_ERR)
        return false;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return true;
}

MessageBoxCloser* MessageBoxCloser::s_active = nullptr;

MessageBoxCloser::MessageBoxCloser() : m_timer(SetTimer(nullptr, 0, 100, &OnTimer))
{
    s_active = this;
}

MessageBoxCloser::~MessageBoxCloser()
{
    KillTimer(nullptr, m_timer);
    s_active = nullptr;
}

std::vector<ShownBox> MessageBoxCloser::TakeBoxes()
{
    std::vector<ShownBox> boxes;
    boxes.swap(m_boxes);
    return boxes;
}

void CALLBACK MessageBoxCloser::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_active)
        EnumThreadWindows(GetCurrentThreadId(), &CloseIfMessageBox, 0);
}

BOOL CALLBACK MessageBoxCloser::CloseIfMessageBox(HWND window, LPARAM)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    // A message box is a top-level dialog with a text control and, unlike a property
    // sheet, no tab control.
    if (wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window) ||
        !GetDlgItem(window, kMessageBoxTextId) || PropSheet_GetTabControl(window))
        return TRUE;
    wchar_t caption[256] = {};
    GetWindowTextW(window, caption, 256);
    s_active->m_boxes.push_back(
        {GetWindow(window, GW_OWNER), caption, ControlText(window, kMessageBoxTextId)});
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
}
