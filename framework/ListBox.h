#pragma once

#include "framework/Wnd.h"

// A list box. Its lines are driven with LB_ messages through SendMessageW. It adds nothing to CWnd;
// the type names what the control is.
class CListBox : public CWnd
{
};
