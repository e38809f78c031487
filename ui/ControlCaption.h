#pragma once

#include "framework/Wnd.h"

class CStringDatabase;

// Sets the text of `control` to what `database` holds for `key` (or its fallback text).
// Nothing happens when the control has no window.
void SetCaptionFromDatabase(CWnd control, CStringDatabase* database, const char* key);
