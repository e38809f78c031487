#pragma once

#include "display/RecordList.h"
#include "display/RendererInfo.h"

#include <windows.h>

#include <string>

// Everything the player can choose on the Display page: the renderers (one per game
// executable found), the displays each renderer drives and the resolutions of each display,
// each level owning the next and pointing to its chosen entry. It fills the page's three list
// boxes and takes the player's selections in them back as the chosen entries.
class DisplayCatalogue
{
public:
    // Enumerates with the system's Direct3D 9.
    DisplayCatalogue();
    // Enumerates with `create`, for tests that stand in for the machine's adapters.
    explicit DisplayCatalogue(Direct3DFactory create);
    DisplayCatalogue(const DisplayCatalogue&) = delete;
    DisplayCatalogue& operator=(const DisplayCatalogue&) = delete;

    // Filling the catalogue, once in its life.

    // Discovers the renderers in `folder` (null or empty: the working folder), makes the
    // default choice and reads the prior choice back from `settingsFileName`, all under the
    // application's wait cursor. Always true.
    bool Build(const wchar_t* folder, const wchar_t* settingsFileName);
    // Adds a renderer for the installed product's executable found in `folder`; returns how
    // many renderers were added.
    int DiscoverRenderers(const wchar_t* folder);
    // Creates and enumerates the renderer of one found executable and appends it. Null for a
    // null name or when Direct3D 9 is not available.
    RendererInfo* AddRenderer(const wchar_t* fileName);
    // Chooses the first renderer and each renderer's first display, and no resolution.
    void ChooseDefaults();
    // Reads "ScreenWidth", "ScreenHeight" and "BitDepth" from a settings file and chooses that
    // resolution on the first display of the first renderer. False when the file cannot be
    // read.
    bool ReadPriorChoice(const wchar_t* settingsFileName);

    // The folder Build searched, as it was given.
    const std::wstring& GetFolder() const { return m_folder; }

    // Null for a null label; for any other the first renderer (null when there is none).
    // Every renderer has the same label, so the text of `anyLabel` is never read.
    RendererInfo* FindRenderer(const wchar_t* anyLabel) const;

    // The walk over the renderers in discovery order; FirstRenderer starts it.
    RendererInfo* FirstRenderer() { return m_renderers.First(); }
    RendererInfo* NextRenderer() { return m_renderers.Next(); }

    RendererInfo* GetChosenRenderer() const { return m_chosenRenderer; }
    // Chooses `renderer`, which must be null or one of this catalogue's renderers; any other
    // pointer is refused (false) and the choice stays as it was.
    bool SetChosenRenderer(RendererInfo* renderer);

    // The renderer shown on the list's selected line, or null when no line is selected or the
    // line does not show one of this catalogue's renderers.
    RendererInfo* GetSelectedRenderer(HWND list) const;
    // Selects the line of the chosen renderer.
    bool SelectChosenInList(HWND list) const;
    // Lists the renderers; selects the chosen one, else line 0.
    bool FillRendererList(HWND list) const;

    // Fills the three lists top down: each lower list shows the entry selected in the list
    // above it. Chosen entries are shown where they exist, fallback lines elsewhere; nothing
    // is chosen here. Fails for a null handle or when a list has no selected line to go on.
    bool FillLists(HWND renderers, HWND displays, HWND resolutions) const;
    // Makes the lists' selected lines the chosen entries after the player changed one. A
    // change higher up refills the lists below it, and their fallback lines become chosen.
    // Fails for a null handle, or when the renderer or display list has no selected line.
    bool UpdateFromLists(HWND renderers, HWND displays, HWND resolutions);

    // Deletes every renderer and everything below it; chooses none.
    void Clear();

private:
    std::wstring m_folder;
    RecordList<RendererInfo> m_renderers;
    RendererInfo* m_chosenRenderer = nullptr;
    Direct3DFactory m_createDirect3D;
};
