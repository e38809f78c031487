#pragma once

#include <windows.h>

#include <string>

class CWnd;

// The application object: one global instance of a derived class, constructed before the
// entry point runs. The entry point calls InitInstance once; a dialog-based application
// does its whole run there and returns FALSE, which ends the process without a message loop.
class CWinApp
{
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();

    // Records where the per-user profile would live; nothing is written under the key.
    void SetRegistryKey(const wchar_t* key);
    const std::wstring& GetRegistryKey() const { return m_registryKey; }

    // Shows the hourglass until the matching EndWaitCursor; calls nest.
    void BeginWaitCursor();
    void EndWaitCursor();

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;

private:
    std::wstring m_registryKey;
    int m_waitCount = 0;
    HCURSOR m_restoreCursor = nullptr;
};

// The one application object, or null before it is constructed.
CWinApp* AfxGetApp();

// Shows the application's wait cursor for the lifetime of the object.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
