#include "framework/Button.h"

int CButton::GetCheck() const
{
    return static_cast<int>(SendMessageW(BM_GETCHECK));
}

void CButton::SetCheck(int state)
{
    SendMessageW(BM_SETCHECK, static_cast<WPARAM>(state));
}
