#include "framework/WinApp.h"

namespace
{
CWinApp* g_application = nullptr;
}

CWinApp::CWinApp()
{
    g_application = this;
    m_hInstance = GetModuleHandleW(nullptr);
}

CWinApp::~CWinApp()
{
    if (g_application == this)
        g_application = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

BOOL CWinApp::OnCommand(UINT)
{
    return FALSE;
}

void CWinApp::OnHelp() {}

void CWinApp::SetRegistryKey(const wchar_t* key)
{
    m_registryKey = key ? key : L"";
}

void CWinApp::BeginWaitCursor()
{
    const HCURSOR previous = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    if (m_waitCount++ == 0)
        m_restoreCursor = previous;
}

void CWinApp::EndWaitCursor()
{
    if (m_waitCount == 0)
        return;
    if (--m_waitCount == 0)
        SetCursor(m_restoreCursor);
}

CWinApp* AfxGetApp()
{
    return g_application;
}

int AfxWinMain(HINSTANCE instance)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    if (!app->InitInstance())
        return 0;

    MSG message = {};
    BOOL received;
    while ((received = GetMessageW(&message, nullptr, 0, 0)) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return received == 0 ? static_cast<int>(message.wParam) : -1;
}

CWaitCursor::CWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->EndWaitCursor();
}
