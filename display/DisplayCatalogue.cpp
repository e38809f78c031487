#include "display/DisplayCatalogue.h"

#include "display/ListBoxFill.h"

DisplayCatalogue::DisplayCatalogue() : DisplayCatalogue(CreateDirect3D9) {}

DisplayCatalogue::DisplayCatalogue(Direct3DFactory create) : m_createDirect3D(create) {}

RendererInfo* DisplayCatalogue::FindRenderer(const wchar_t* anyLabel) const
{
    if (anyLabel == nullptr)
        return nullptr;
    return m_renderers.Front();
}

bool DisplayCatalogue::SetChosenRenderer(RendererInfo* renderer)
{
    if (renderer != nullptr && m_renderers.Find(renderer) == nullptr)
        return false;
    m_chosenRenderer = renderer;
    return true;
}

RendererInfo* DisplayCatalogue::GetSelectedRenderer(HWND list) const
{
    return m_renderers.Find(GetListSelection(list));
}

bool DisplayCatalogue::SelectChosenInList(HWND list) const
{
    return SelectRecordInList(list, m_chosenRenderer);
}

bool DisplayCatalogue::FillRendererList(HWND list) const
{
    return FillList(list, m_renderers, m_chosenRenderer, ListFallback::FirstLine);
}

bool DisplayCatalogue::FillLists(HWND renderers, HWND displays, HWND resolutions) const
{
    if (renderers == nullptr || displays == nullptr || resolutions == nullptr)
        return false;
    FillRendererList(renderers);
    const RendererInfo* renderer = GetSelectedRenderer(renderers);
    if (renderer == nullptr)
        return false;
    renderer->FillDisplayList(displays);
    const DisplayInfo* display = renderer->GetSelectedDisplay(displays);
    if (display == nullptr)
        return false;
    return display->FillResolutionList(resolutions);
}

bool DisplayCatalogue::UpdateFromLists(HWND renderers, HWND displays, HWND resolutions)
{
    if (renderers == nullptr || displays == nullptr || resolutions == nullptr)
        return false;

    RendererInfo* renderer = GetSelectedRenderer(renderers);
    const bool rendererChanged = renderer != m_chosenRenderer;
    if (rendererChanged)
    {
        m_chosenRenderer = renderer;
        // Fails when no renderer is chosen, so the renderer is not null past this point.
        if (!SelectChosenInList(renderers))
            return false;
        renderer->FillDisplayList(displays);
    }
    if (renderer == nullptr)
        return false;

    // Read after the refill above, so a new renderer's fallback line is what counts.
    DisplayInfo* display = renderer->GetSelectedDisplay(displays);
    if (rendererChanged || display != renderer->GetChosenDisplay())
    {
        renderer->SetChosenDisplay(display);
        // Fails when no display is chosen, so the display is not null past this point.
        if (!renderer->SelectChosenInList(displays))
            return false;
        display->FillResolutionList(resolutions);
    }
    if (display == nullptr)
        return false;

    display->SetChosenResolution(display->GetSelectedResolution(resolutions));
    return true;
}

void DisplayCatalogue::Clear()
{
    m_renderers.Clear();
    m_chosenRenderer = nullptr;
}
