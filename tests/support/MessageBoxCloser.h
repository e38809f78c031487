#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ShownBox
{
    HWND owner;
    std::wstring caption;
    std::wstring text;
};

// Closes every message box this thread shows while the object lives, from a timer that the
// box's own modal loop runs, and records what each box showed. Without it a box would keep
// the test waiting for a click.
class MessageBoxCloser
{
public:
    MessageBoxCloser();
    ~MessageBoxCloser();
    MessageBoxCloser(const MessageBoxCloser&) = delete;
    MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;

    // The boxes closed since the last call.
    std::vector<ShownBox> TakeBoxes();

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    static BOOL CALLBACK CloseIfMessageBox(HWND window, LPARAM);

    static MessageBoxCloser* s_active;
    UINT_PTR m_timer;
    std::vector<ShownBox> m_boxes;
};
