#pragma once

#include <windows.h>
#include <xinput.h>

// The signature of XInput's XInputGetState.
using XInputGetStateFunction = DWORD(WINAPI*)(DWORD userIndex, XINPUT_STATE* state);

// A game controller read through XInput. XInput is loaded at run time, because Windows XP
// without the DirectX runtime has none: without it, or without a connected controller, Read
// finds nothing and the caller goes on as if no controller existed. It is loaded at the first
// Read, not before: a program that shows a window first and reads the controller then does not
// wait for XInput (and the DLLs it brings) before its window shows.
class CGamepad
{
public:
    // Reads the controllers through XInput from the system folder, loaded at the first Read:
    // xinput1_4.dll (Windows 8 and later), else xinput1_3.dll (the DirectX runtime), else
    // xinput9_1_0.dll (Windows Vista and 7).
    CGamepad() = default;
    // Reads the controllers through `getState`, which stands for XInputGetState; null for
    // none.
    explicit CGamepad(XInputGetStateFunction getState) : m_getState(getState), m_loadPending(false)
    {
    }
    ~CGamepad();
    CGamepad(const CGamepad&) = delete;
    CGamepad& operator=(const CGamepad&) = delete;

    // The state of the controller in use: the one read last, while it stays connected, else
    // the first connected one of the four. False when none is connected. A controller plugged
    // in or out is found by the next call.
    bool Read(XINPUT_GAMEPAD& state);

private:
    void Load();

    HMODULE m_module = nullptr;
    XInputGetStateFunction m_getState = nullptr;
    bool m_loadPending = true;
    DWORD m_user = 0;
};
