#pragma once

#include "display/RecordList.h"
#include "display/ResolutionInfo.h"

#include <windows.h>

#include <string>

// One display adapter as the enumeration met it: its device name (the key), its description
// and its usable resolutions in the order the platform first returned them.
class DisplayInfo
{
public:
    DisplayInfo(std::wstring deviceName, std::wstring description);
    DisplayInfo(const DisplayInfo&) = delete;
    DisplayInfo& operator=(const DisplayInfo&) = delete;

    const std::wstring& GetDeviceName() const { return m_deviceName; }
    const std::wstring& GetDescription() const { return m_description; }

    // "description (device name)".
    std::wstring GetLabel() const;

    // The first resolution with all three values equal, or null.
    ResolutionInfo* FindResolution(int width, int height, int bitDepth) const;
    // Appends a new resolution; keeping the triples unique is the caller's part.
    ResolutionInfo* AddResolution(int width, int height, int bitDepth);
    // Chooses the resolution FindResolution finds; without one the choice stays as it was.
    bool SelectResolution(int width, int height, int bitDepth);

    ResolutionInfo* GetChosenResolution() const { return m_chosenResolution; }
    // Chooses `resolution`, which must be null or one of this display's resolutions; any
    // other pointer is refused (false) and the choice stays as it was.
    bool SetChosenResolution(ResolutionInfo* resolution);

    // The walk over the resolutions in list order; FirstResolution starts it.
    ResolutionInfo* FirstResolution() { return m_resolutions.First(); }
    ResolutionInfo* NextResolution() { return m_resolutions.Next(); }

    // The resolution shown on the list's selected line, or null when no line is selected or
    // the line does not show one of this display's resolutions.
    ResolutionInfo* GetSelectedResolution(HWND list) const;
    // Selects the line of the chosen resolution.
    bool SelectChosenInList(HWND list) const;
    // Lists the resolutions in list order; selects the chosen one, else line 0.
    bool FillResolutionList(HWND list) const;

    // Deletes every resolution, empties the device name and chooses none.
    void Clear();

private:
    std::wstring m_deviceName;
    std::wstring m_description;
    RecordList<ResolutionInfo> m_resolutions;
    ResolutionInfo* m_chosenResolution = nullptr;
};
