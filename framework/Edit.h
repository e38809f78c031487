#pragma once

#include "framework/Wnd.h"

// An edit control. It adds nothing to CWnd; the type names what the control is.
class CEdit : public CWnd
{
};
