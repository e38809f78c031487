#include "ui/ControlCaption.h"

#include "strings/StringDatabase.h"
#include "strings/WideTextCopy.h"

void SetCaptionFromDatabase(CWnd control, CStringDatabase* database, const char* key)
{
    if (!IsWindow(control.GetSafeHwnd()))
        return;
    // Copied at once: the next lookup may overwrite the manager's text.
    const CWideTextCopy text(database->Lookup(key));
    control.SetWindowTextW(text.Text());
}
