#pragma once

#include "display/DisplayInfo.h"
#include "display/RecordList.h"
#include "settings/FixedNames.h"

#include <windows.h>

#include <string>

struct IDirect3D9;

// Creates a Direct3D 9 object, or returns null when there is none. The product always uses
// CreateDirect3D9; tests hand in their own to stand for machines they cannot have.
using Direct3DFactory = IDirect3D9* (*)();

// The system's Direct3D 9 object: the one a living CDirect3DStart started, the first time,
// else Direct3DCreate9(D3D_SDK_VERSION).
IDirect3D9* CreateDirect3D9();

// One game executable found on disk, with every display of the machine that has at least one
// usable mode. Renderers carry no name of their own: each one is listed as kRendererLabel.
class RendererInfo
{
public:
    RendererInfo() = default;
    RendererInfo(const RendererInfo&) = delete;
    RendererInfo& operator=(const RendererInfo&) = delete;

    std::wstring GetLabel() const { return kRendererLabel; }

    // Adds every adapter's modes of at least 640 x 480 in X8R8G8B8 as 32-bit resolutions,
    // one display per device name. `unusedExeName` is the found executable's name: every
    // executable drives the same adapters, so it is never read. False, with nothing added,
    // when no Direct3D 9 object can be created.
    bool EnumerateDisplays(const wchar_t* unusedExeName);
    bool EnumerateDisplays(const wchar_t* unusedExeName, Direct3DFactory create);

    // The first display whose device name equals `deviceName` exactly (case-sensitive).
    DisplayInfo* FindDisplay(const wchar_t* deviceName) const;
    // Appends a display without resolutions; fails (null) for a null or empty string.
    DisplayInfo* AddDisplay(const wchar_t* deviceName, const wchar_t* description);
    // Chooses the display FindDisplay finds; without one the choice stays as it was.
    bool SelectDisplay(const wchar_t* deviceName);

    // The walk over the displays in enumeration order; FirstDisplay starts it. Neither
    // changes the chosen display.
    DisplayInfo* FirstDisplay() { return m_displays.First(); }
    DisplayInfo* NextDisplay() { return m_displays.Next(); }

    DisplayInfo* GetChosenDisplay() const { return m_chosenDisplay; }
    // Chooses `display`, which must be null or one of this renderer's displays; any other
    // pointer is refused (false) and the choice stays as it was.
    bool SetChosenDisplay(DisplayInfo* display);

    // The display shown on the list's selected line, or null when no line is selected or the
    // line does not show one of this renderer's displays.
    DisplayInfo* GetSelectedDisplay(HWND list) const;
    // Selects the line of the chosen display.
    bool SelectChosenInList(HWND list) const;
    // Lists the displays; selects the chosen one, else the last line of the list.
    bool FillDisplayList(HWND list) const;

    // Deletes every display and chooses none.
    void Clear();

private:
    RecordList<DisplayInfo> m_displays;
    DisplayInfo* m_chosenDisplay = nullptr;
};
