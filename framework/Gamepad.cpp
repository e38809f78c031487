#include "framework/Gamepad.h"

#include <string>

void CGamepad::Load()
{
    m_loadPending = false;
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    // The full path keeps a DLL of the same name in the game's folder from being loaded.
    for (const wchar_t* name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"})
    {
        const std::wstring path = std::wstring(system) + L"\\" + name;
        m_module = LoadLibraryW(path.c_str());
        if (!m_module)
            continue;
        m_getState = reinterpret_cast<XInputGetStateFunction>(
            reinterpret_cast<void*>(GetProcAddress(m_module, "XInputGetState")));
        if (m_getState)
            return;
        FreeLibrary(m_module);
        m_module = nullptr;
    }
}

CGamepad::~CGamepad()
{
    if (m_module)
        FreeLibrary(m_module);
}

bool CGamepad::Read(XINPUT_GAMEPAD& state)
{
    if (m_loadPending)
        Load();
    if (!m_getState)
        return false;
    for (DWORD tried = 0; tried < XUSER_MAX_COUNT; ++tried)
    {
        const DWORD user = (m_user + tried) % XUSER_MAX_COUNT;
        XINPUT_STATE read = {};
        if (m_getState(user, &read) == ERROR_SUCCESS)
        {
            m_user = user;
            state = read.Gamepad;
            return true;
        }
    }
    return false;
}
