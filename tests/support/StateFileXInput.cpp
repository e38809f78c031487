// Stands in for XInput in the end-to-end tests: one controller, in slot 0, whose state the
// test writes to the file that XINPUT_STATE_FILE names, as one line
// "<buttons> <left stick x> <left stick y>" (numbers as C writes them, 0x for hex). Without
// the variable or the file the controller is unplugged. The test replaces the file as a whole,
// so a read finds either the old state or the new one.
// When XINPUT_STANDIN_LOADS names a DLL, the first read loads it by that bare name, as a system
// DLL that loads a helper on demand does: the test sees where the launcher's process looks.
#include <windows.h>
#include <xinput.h>

#include <cstdio>
#include <cstring>

#define XINPUT_EXPORT extern "C" __declspec(dllexport)

namespace
{
DWORD g_packet = 0;
XINPUT_GAMEPAD g_last = {};

bool ReadStateFile(XINPUT_GAMEPAD& pad)
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"XINPUT_STATE_FILE", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    // Shared for deleting too: the test may replace the file while it is open here.
    const HANDLE file =
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char text[128] = {};
    DWORD read = 0;
    const BOOL ok = ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    int buttons = 0;
    int x = 0;
    int y = 0;
    if (!ok || std::sscanf(text, "%i %i %i", &buttons, &x, &y) != 3)
        return false;
    pad = {};
    pad.wButtons = static_cast<WORD>(buttons);
    pad.sThumbLX = static_cast<SHORT>(x);
    pad.sThumbLY = static_cast<SHORT>(y);
    return true;
}

void LoadNamedDllOnce()
{
    static bool tried = false;
    if (tried)
        return;
    tried = true;
    wchar_t name[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"XINPUT_STANDIN_LOADS", name, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        LoadLibraryW(name);
}
} // namespace

XINPUT_EXPORT DWORD WINAPI XInputGetState(DWORD user, XINPUT_STATE* state)
{
    LoadNamedDllOnce();
    XINPUT_GAMEPAD pad = {};
    if (user != 0 || !state || !ReadStateFile(pad))
        return ERROR_DEVICE_NOT_CONNECTED;
    // The packet number changes exactly when the state does.
    if (std::memcmp(&pad, &g_last, sizeof pad) != 0)
        ++g_packet;
    g_last = pad;
    state->dwPacketNumber = g_packet;
    state->Gamepad = pad;
    return ERROR_SUCCESS;
}

XINPUT_EXPORT DWORD WINAPI XInputGetCapabilities(DWORD user, DWORD, XINPUT_CAPABILITIES* caps)
{
    XINPUT_GAMEPAD pad = {};
    if (user != 0 || !caps || !ReadStateFile(pad))
        return ERROR_DEVICE_NOT_CONNECTED;
    *caps = {};
    caps->Type = XINPUT_DEVTYPE_GAMEPAD;
    caps->SubType = XINPUT_DEVSUBTYPE_GAMEPAD;
    caps->Gamepad.wButtons = 0xF3FF;
    return ERROR_SUCCESS;
}

XINPUT_EXPORT DWORD WINAPI XInputSetState(DWORD user, XINPUT_VIBRATION*)
{
    XINPUT_GAMEPAD pad = {};
    return user == 0 && ReadStateFile(pad) ? ERROR_SUCCESS : ERROR_DEVICE_NOT_CONNECTED;
}

XINPUT_EXPORT void WINAPI XInputEnable(WINBOOL) {}

XINPUT_EXPORT DWORD WINAPI XInputGetKeystroke(DWORD user, DWORD, PXINPUT_KEYSTROKE)
{
    XINPUT_GAMEPAD pad = {};
    return user == 0 && ReadStateFile(pad) ? ERROR_EMPTY : ERROR_DEVICE_NOT_CONNECTED;
}

XINPUT_EXPORT DWORD WINAPI XInputGetBatteryInformation(DWORD user, BYTE,
                                                       XINPUT_BATTERY_INFORMATION* battery)
{
    XINPUT_GAMEPAD pad = {};
    if (user != 0 || !battery || !ReadStateFile(pad))
        return ERROR_DEVICE_NOT_CONNECTED;
    battery->BatteryType = BATTERY_TYPE_WIRED;
    battery->BatteryLevel = BATTERY_LEVEL_FULL;
    return ERROR_SUCCESS;
}

XINPUT_EXPORT DWORD WINAPI XInputGetDSoundAudioDeviceGuids(DWORD user, GUID* render, GUID* capture)
{
    XINPUT_GAMEPAD pad = {};
    if (user != 0 || !ReadStateFile(pad))
        return ERROR_DEVICE_NOT_CONNECTED;
    // A controller without a headset.
    if (render)
        *render = GUID{};
    if (capture)
        *capture = GUID{};
    return ERROR_SUCCESS;
}
