#pragma once

#include <windows.h>

#include <string>

// A window handle with the window functions the dialogs use. The wrapper never owns the
// window: copying it copies the handle, and neither the wrapper nor its copies destroy the
// window. On an empty wrapper every function does nothing and returns an empty result, except
// MessageBoxW, which then shows an unowned box so that the message is not lost.
class CWnd
{
public:
    CWnd() = default;
    explicit CWnd(HWND hwnd) : m_hWnd(hwnd) {}

    // Binds the wrapper to `hwnd`, replacing any earlier binding. FALSE, and the wrapper
    // unchanged, when `hwnd` is not a window.
    BOOL Attach(HWND hwnd);
    // Unbinds the wrapper and returns the handle it held.
    HWND Detach();
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The child with control id `id` as a new wrapper, returned by value: it does not own the
    // control and stays valid only as long as the control exists. Its handle is null when
    // there is no such child.
    CWnd GetDlgItem(int id) const;

    BOOL SetWindowTextW(const wchar_t* text);
    std::wstring GetWindowTextW() const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    // The window's rectangle in screen coordinates; empty when there is no window.
    void GetWindowRect(RECT* rect) const;
    // Converts a rectangle from screen coordinates to this window's client coordinates.
    void ScreenToClient(RECT* rect) const;
    // A modal message box owned by this window; returns the id of the button pressed.
    int MessageBoxW(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK);
    LRESULT SendMessageW(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;

private:
    HWND m_hWnd = nullptr;
};
