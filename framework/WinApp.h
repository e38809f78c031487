#pragma once

#include <windows.h>

#include <string>

class CWnd;

// The command id of the standard Help command.
constexpr UINT ID_HELP = 0xE146;

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

    // Runs the application's handler of command `id` and returns TRUE, or returns FALSE when
    // the application has none. A derived application overrides this to map its commands, for
    // example ID_HELP to OnHelp; the base maps nothing. Property pages route their Help button
    // here as ID_HELP.
    virtual BOOL OnCommand(UINT id);
    // The standard Help handler. The product ships no help file, so there is nothing to show.
    void OnHelp();

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

// The body of the program's entry point. Runs InitInstance of the application object with the
// module handle recorded in it. When InitInstance returns FALSE the run is over and the result
// is 0; when it returns TRUE the thread's message loop runs until WM_QUIT and its exit code is
// the result. -1 when there is no application object.
int AfxWinMain(HINSTANCE instance);

// Shows the application's wait cursor for the lifetime of the object.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
