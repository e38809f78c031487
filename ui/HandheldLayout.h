#pragma once

#include <windows.h>

// True when Steam says the launcher runs on a Steam Deck or in Steam's gamepad interface
// (SteamDeck=1 or SteamGamepadUI=1 in the environment): a small screen seen from further
// away, where the sheet is laid out at 150 %.
bool RunsOnHandheld();

// The dialog font size that lays the sheet out at 150 % of its size at 96 DPI: 12 points
// where the screen has 96 DPI, which is what the templates' 8 points give at 144 DPI. A
// screen of 144 DPI or more keeps the templates' 8 points.
WORD HandheldDialogFontSize();

// Places `window` in the middle of the work area of the monitor it is on.
void CentreOnMonitor(HWND window);
