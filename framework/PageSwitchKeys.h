#pragma once

#include <windows.h>

// Makes Ctrl+Tab show the next page of the property sheet `sheet` and Ctrl+Shift+Tab the
// previous one, wrapping around, as Windows' own modal sheets do. Wine's modal loop leaves
// these keys to IsDialogMessage, which takes them for Tab and Shift+Tab and moves the focus
// instead. Leaving the page is refused when the page refuses it, as for a click on a tab; a
// focus on the page left goes on to the first control of the page shown.
// False when the sheet window could not be subclassed.
bool AddPageSwitchKeys(HWND sheet);
