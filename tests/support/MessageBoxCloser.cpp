#include "tests/support/MessageBoxCloser.h"

#include <commctrl.h>

#include <cwchar>

namespace
{
// The control id of a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring BoxText(HWND box)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(box, kMessageBoxTextId, text, 256);
    return text;
}
} // namespace

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
    s_active->m_boxes.push_back({GetWindow(window, GW_OWNER), caption, BoxText(window)});
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
}
