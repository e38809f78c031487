#pragma once

#include "framework/Wnd.h"

// A push button, check box or group box. It adds nothing to CWnd; the type names what the
// control is.
class CButton : public CWnd
{
};
