#pragma once

#include "settings/SettingsFile.h"
#include "tests/support/MessageBoxCloser.h"

#include <windows.h>

#include <string>

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
