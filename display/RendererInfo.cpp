#include "display/RendererInfo.h"

#include "display/ListBoxFill.h"

DisplayInfo* RendererInfo::FindDisplay(const wchar_t* deviceName) const
{
    if (deviceName == nullptr)
        return nullptr;
    for (const auto& display : m_displays)
        if (display->GetDeviceName() == deviceName)
            return display.get();
    return nullptr;
}

DisplayInfo* RendererInfo::AddDisplay(const wchar_t* deviceName, const wchar_t* description)
{
    if (deviceName == nullptr || *deviceName == L'\0' || description == nullptr ||
        *description == L'\0')
        return nullptr;
    return m_displays.Append(std::make_unique<DisplayInfo>(deviceName, description));
}

bool RendererInfo::SelectDisplay(const wchar_t* deviceName)
{
    DisplayInfo* display = FindDisplay(deviceName);
    if (display == nullptr)
        return false;
    m_chosenDisplay = display;
    return true;
}

bool RendererInfo::SetChosenDisplay(DisplayInfo* display)
{
    if (display != nullptr && m_displays.Find(display) == nullptr)
        return false;
    m_chosenDisplay = display;
    return true;
}

DisplayInfo* RendererInfo::GetSelectedDisplay(HWND list) const
{
    return m_displays.Find(GetListSelection(list));
}

bool RendererInfo::SelectChosenInList(HWND list) const
{
    return SelectRecordInList(list, m_chosenDisplay);
}

bool RendererInfo::FillDisplayList(HWND list) const
{
    return FillList(list, m_displays, m_chosenDisplay, ListFallback::LastLine);
}

void RendererInfo::Clear()
{
    m_displays.Clear();
    m_chosenDisplay = nullptr;
}
