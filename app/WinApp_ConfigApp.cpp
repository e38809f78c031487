#include "app/WinApp_ConfigApp.h"

#include "app/BoundedFormat.h"
#include "display/Direct3DStart.h"
#include "framework/Gamepad.h"
#include "settings/BoundedString.h"
#include "settings/FixedNames.h"
#include "settings/ProductMode.h"
#include "settings/SettingsFilePath.h"
#include "strings/StringDatabase.h"
#include "strings/WideTextCopy.h"
#include "text/TextConversion.h"
#include "ui/PropertySheet_ConfigApp.h"

#include <commctrl.h>

#include <memory>

BOOL CWinApp_ConfigApp::OnCommand(UINT id)
{
    if (id != ID_HELP)
        return FALSE;
    OnHelp();
    return TRUE;
}

BOOL CWinApp_ConfigApp::InitInstance()
{
    // Made while the rest below runs; the Display page takes it for its enumeration.
    CDirect3DStart direct3DStart;
    InitCommonControls();
    CWinApp::InitInstance();
    // The pages host no ActiveX controls, so there is no control container to enable.

    // The product mode decides where the framework's per-user profile would live; the
    // launcher itself stores nothing there.
    char productFolder[MAX_PATH] = {};
    BoundedCopy(productFolder, GetProductFolderName(), sizeof productFolder);
    char registryKey[MAX_PATH] = {};
    BoundedFormat(registryKey, sizeof registryKey, "%s\\%s\\ConfigApp", kCompanyFolderName,
                  productFolder);
    {
        const CAnsiToWide wideRegistryKey(registryKey);
        SetRegistryKey(wideRegistryKey.Text());
    }

    // Looked for in the current directory, like every other relative name the launcher uses.
    CStringDatabase database(kStringDatabaseName);
    // Without XInput or a controller the sheet works as it does with mouse and keyboard alone.
    CGamepad gamepad;
    // The sheet keeps its own copy of the title, so the looked-up copy goes right after the
    // sheet is made; the sheet is destroyed before the database it points to.
    std::unique_ptr<CPropertySheet_ConfigApp> sheet;
    {
        const CWideTextCopy title(database.Lookup("WindowTitle"));
        sheet = std::make_unique<CPropertySheet_ConfigApp>(
            title.Text(), &database, [] { return GetSettingsFilePath(GetProductFolderName()); });
    }

    // The sheet saves and starts the game itself; how it was closed does not matter here.
    sheet->UseGamepad(&gamepad);
    m_pMainWnd = sheet.get();
    sheet->DoModal();
    m_pMainWnd = nullptr;
    sheet.reset();
    return FALSE;
}
