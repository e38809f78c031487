// StartupFloor: the least a launcher of this kind can do before its window shows, the floor
// that tools/startup-benchmark.sh measures the launcher against.
//
// It shows a bare property sheet with the launcher's two page templates (and its manifest),
// and makes one Direct3D 9 enumeration of the adapters' modes for the first page's lists, as
// the launcher does before its sheet is shown. Nothing else: no strings, no settings.
#include "ui/resource.h"

#include <windows.h>

#include <commctrl.h>
#include <d3d9.h>

#include <string>

namespace
{
void AddLine(HWND page, int list, const std::wstring& text)
{
    SendDlgItemMessageW(page, list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void EnumerateModes(HWND page)
{
    IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    if (!direct3D)
        return;
    AddLine(page, IDC_LIST_RENDERERS, L"DX9 Renderer");
    for (UINT adapter = 0; adapter < direct3D->GetAdapterCount(); ++adapter)
    {
        D3DADAPTER_IDENTIFIER9 identifier = {};
        if (FAILED(direct3D->GetAdapterIdentifier(adapter, 0, &identifier)))
            continue;
        identifier.DeviceName[sizeof identifier.DeviceName - 1] = '\0';
        AddLine(page, IDC_LIST_DISPLAYS,
                std::wstring(identifier.DeviceName,
                             identifier.DeviceName + lstrlenA(identifier.DeviceName)));
        const UINT modes = direct3D->GetAdapterModeCount(adapter, D3DFMT_X8R8G8B8);
        for (UINT index = 0; index < modes; ++index)
        {
            D3DDISPLAYMODE mode = {};
            if (SUCCEEDED(direct3D->EnumAdapterModes(adapter, D3DFMT_X8R8G8B8, index, &mode)))
                AddLine(page, IDC_LIST_RESOLUTIONS,
                        std::to_wstring(mode.Width) + L" x " + std::to_wstring(mode.Height));
        }
    }
    direct3D->Release();
}

INT_PTR CALLBACK DisplayPage(HWND page, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    EnumerateModes(page);
    return TRUE;
}

INT_PTR CALLBACK OptionsPage(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}
} // namespace

// The caption is the command line's, so that the benchmark finds the window by it.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    InitCommonControls();
    PROPSHEETPAGEW pages[2] = {};
    const WORD templates[] = {IDD_DISPLAY, IDD_OPTIONS};
    const DLGPROC procedures[] = {DisplayPage, OptionsPage};
    for (int index = 0; index < 2; ++index)
    {
        pages[index].dwSize = sizeof pages[index];
        pages[index].hInstance = instance;
        pages[index].pszTemplate = MAKEINTRESOURCEW(templates[index]);
        pages[index].pfnDlgProc = procedures[index];
    }
    PROPSHEETHEADERW sheet = {};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_PROPSHEETPAGE;
    sheet.hInstance = instance;
    sheet.pszCaption = commandLine;
    sheet.nPages = 2;
    sheet.ppsp = pages;
    PropertySheetW(&sheet);
    return 0;
}
