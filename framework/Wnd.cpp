#include "framework/Wnd.h"

BOOL CWnd::Attach(HWND hwnd)
{
    if (!::IsWindow(hwnd))
        return FALSE;
    m_hWnd = hwnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    const HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    return hwnd;
}

CWnd CWnd::GetDlgItem(int id) const
{
    return CWnd(m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr);
}

BOOL CWnd::SetWindowTextW(const wchar_t* text)
{
    return m_hWnd ? ::SetWindowTextW(m_hWnd, text) : FALSE;
}

std::wstring CWnd::GetWindowTextW() const
{
    if (!m_hWnd)
        return std::wstring();
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    const int copied = ::GetWindowTextW(m_hWnd, &text[0], static_cast<int>(text.size()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint)
{
    if (m_hWnd)
        ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::GetWindowRect(RECT* rect) const
{
    if (!m_hWnd || !::GetWindowRect(m_hWnd, rect))
        ::SetRectEmpty(rect);
}

void CWnd::ScreenToClient(RECT* rect) const
{
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    if (!m_hWnd || !::ScreenToClient(m_hWnd, &corners[0]) || !::ScreenToClient(m_hWnd, &corners[1]))
        return;
    *rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

int CWnd::MessageBoxW(const wchar_t* text, const wchar_t* caption, UINT type)
{
    return ::MessageBoxW(m_hWnd, text, caption, type);
}

LRESULT CWnd::SendMessageW(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return m_hWnd ? ::SendMessageW(m_hWnd, message, wParam, lParam) : 0;
}

BOOL CWnd::ShowWindow(int command)
{
    return m_hWnd ? ::ShowWindow(m_hWnd, command) : FALSE;
}

BOOL CWnd::IsWindowVisible() const
{
    return m_hWnd ? ::IsWindowVisible(m_hWnd) : FALSE;
}

BOOL CWnd::IsWindowEnabled() const
{
    return m_hWnd ? ::IsWindowEnabled(m_hWnd) : FALSE;
}
