#pragma once

#include "framework/Wnd.h"

// A push button, check box or group box.
class CButton : public CWnd
{
public:
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const;
    void SetCheck(int state);
};
