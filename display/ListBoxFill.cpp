#include "display/ListBoxFill.h"

void* GetListSelection(HWND list)
{
    if (list == nullptr)
        return nullptr;
    const LRESULT line = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR)
        return nullptr;
    const LRESULT data = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(line), 0);
    if (data == LB_ERR)
        return nullptr;
    return reinterpret_cast<void*>(data);
}

bool SelectRecordInList(HWND list, const void* record)
{
    if (list == nullptr || record == nullptr)
        return false;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (count <= 0)
        return false;
    for (LRESULT line = 0; line < count; ++line)
    {
        const LRESULT data = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(line), 0);
        if (data == LB_ERR)
            continue;
        if (reinterpret_cast<const void*>(data) == record)
        {
            SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
            return true;
        }
    }
    return false;
}

void AddListLine(HWND list, const std::wstring& label, const void* record)
{
    const LRESULT line =
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    // LB_ERR and LB_ERRSPACE are both negative: the line was not added.
    if (line >= 0)
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(line),
                     reinterpret_cast<LPARAM>(record));
}

void SelectFallbackLine(HWND list, ListFallback fallback)
{
    if (fallback == ListFallback::FirstLine)
    {
        SendMessageW(list, LB_SETCURSEL, 0, 0);
        return;
    }
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (count < 1)
        return;
    if (SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(count - 1), 0) == LB_ERR)
        SendMessageW(list, LB_SETCURSEL, 0, 0);
}
