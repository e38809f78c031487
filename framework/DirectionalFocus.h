#pragma once

#include "framework/PadActionTable.h"

#include <windows.h>

// The control of `sheet` that a move (PadAction::MoveUp to MoveRight) from control `from`
// leads to: of the visible, enabled controls that take the focus with Tab, on the shown page,
// in the button row and the tab strip, the nearest one that lies in that direction. Null when
// there is none.
HWND ControlInDirection(HWND sheet, HWND from, PadAction move);

// The rectangle, in screen coordinates, by which a control stands in the layout: its window,
// or for a tab control the strip of its tabs, not the page area it encloses.
RECT LayoutRect(HWND control);
