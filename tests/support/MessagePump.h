#pragma once

#include <windows.h>

// Dispatches every waiting message of this thread, with the sheet's dialog keyboard handling.
void PumpMessages(HWND sheet);
