#pragma once

#include "display/RecordList.h"

#include <windows.h>

#include <string>

// The list boxes of the Display page show catalogue records: each line carries a pointer to
// the record it shows as its item data. The lists never own the records.

// The item data of the list's selected line: null for a null handle, no selected line, or a
// line whose item data cannot be read.
void* GetListSelection(HWND list);

// Selects the first line whose item data is `record`. Fails for a null handle, a null record,
// an empty list, or when no line shows the record.
bool SelectRecordInList(HWND list, const void* record);

// Which line a fill selects when the chosen record is not shown.
enum class ListFallback
{
    FirstLine,
    // The last line in the list box's own order; line 0 if that cannot be selected.
    LastLine,
};

// Adds one line and, when the list box took it, stores `record` as its item data.
void AddListLine(HWND list, const std::wstring& label, const void* record);

void SelectFallbackLine(HWND list, ListFallback fallback);

// The fill procedure shared by the three lists: empties the list, adds one line per record in
// list order, selects the line of `chosen` or else the fallback line. Fails only for a null
// handle. The chosen record itself is never changed.
template <typename Record>
bool FillList(HWND list, const RecordList<Record>& records, const Record* chosen,
              ListFallback fallback)
{
    if (list == nullptr)
        return false;
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const auto& record : records)
        AddListLine(list, record->GetLabel(), record.get());
    if (!SelectRecordInList(list, chosen))
        SelectFallbackLine(list, fallback);
    return true;
}
