#include "display/DisplayInfo.h"

#include "display/ListBoxFill.h"

#include <utility>

DisplayInfo::DisplayInfo(std::wstring deviceName, std::wstring description)
    : m_deviceName(std::move(deviceName)), m_description(std::move(description))
{
}

std::wstring DisplayInfo::GetLabel() const
{
    return m_description + L" (" + m_deviceName + L")";
}

ResolutionInfo* DisplayInfo::FindResolution(int width, int height, int bitDepth) const
{
    for (const auto& resolution : m_resolutions)
        if (resolution->GetWidth() == width && resolution->GetHeight() == height &&
            resolution->GetBitDepth() == bitDepth)
            return resolution.get();
    return nullptr;
}

ResolutionInfo* DisplayInfo::AddResolution(int width, int height, int bitDepth)
{
    return m_resolutions.Append(std::make_unique<ResolutionInfo>(width, height, bitDepth));
}

bool DisplayInfo::SelectResolution(int width, int height, int bitDepth)
{
    ResolutionInfo* resolution = FindResolution(width, height, bitDepth);
    if (resolution == nullptr)
        return false;
    m_chosenResolution = resolution;
    return true;
}

bool DisplayInfo::SetChosenResolution(ResolutionInfo* resolution)
{
    if (resolution != nullptr && m_resolutions.Find(resolution) == nullptr)
        return false;
    m_chosenResolution = resolution;
    return true;
}

ResolutionInfo* DisplayInfo::GetSelectedResolution(HWND list) const
{
    return m_resolutions.Find(GetListSelection(list));
}

bool DisplayInfo::SelectChosenInList(HWND list) const
{
    return SelectRecordInList(list, m_chosenResolution);
}

bool DisplayInfo::FillResolutionList(HWND list) const
{
    return FillList(list, m_resolutions, m_chosenResolution, ListFallback::FirstLine);
}

void DisplayInfo::Clear()
{
    m_resolutions.Clear();
    m_deviceName.clear();
    m_chosenResolution = nullptr;
}
