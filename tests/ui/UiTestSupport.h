#pragma once

#include "settings/SettingsFile.h"

#include <windows.h>

#include <string>
#include <vector>

// The test string database beside the test program.
std::string TestDatabasePath();

// Copies the stand-in game from the build's bin folder to `path`.
bool CopyStandInGame(const std::string& path);

// A store loaded from a settings file of `content`.
CSettingsFile StoredSettings(const std::string& content);

// The window text of control `id` of `dialog`.
std::wstring ControlText(HWND dialog, int id);
// The text of the list box line selected in control `id` of `dialog`; "" when none is.
std::wstring SelectedLine(HWND dialog, int id);
// Selects the line of list box `id` that reads `text` and tells `dialog` the selection
// changed, as a click of the player does. False when there is no such line.
bool SelectLine(HWND dialog, int id, const std::wstring& text);

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
