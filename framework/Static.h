#pragma once

#include "framework/Wnd.h"

// A static text or picture control. It adds nothing to CWnd; the type names what the control is.
class CStatic : public CWnd
{
};
