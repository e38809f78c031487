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
