#include "tests/support/MessagePump.h"

#include <commctrl.h>

void PumpMessages(HWND sheet)
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    {
        if (IsWindow(sheet) && PropSheet_IsDialogMessage(sheet, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
