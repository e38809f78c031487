#include "ui/PropertyPage_Display.h"

#include "framework/DataExchange.h"
#include "settings/FixedNames.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"
#include "text/TextConversion.h"
#include "ui/ControlCaption.h"
#include "ui/OwnedSettingsSync.h"
#include "ui/resource.h"

#include <cstdlib>

CPropertyPage_Display::CPropertyPage_Display(CStringDatabase* database)
    : CPropertyPage_Display(database, CreateDirect3D9)
{
}

CPropertyPage_Display::CPropertyPage_Display(CStringDatabase* database,
                                             Direct3DFactory createDirect3D)
    : CPropertyPage(IDD_DISPLAY), m_catalogue(createDirect3D), m_pStringDatabase(database)
{
    // With the sheet's own setting this keeps the Help button hidden.
    m_psp.dwFlags &= ~PSP_HASHELP;
}

void CPropertyPage_Display::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_DISPLAYS, m_listDisplays);
    DDX_Control(pDX, IDC_LIST_RENDERERS, m_listRenderers);
    DDX_Control(pDX, IDC_LIST_RESOLUTIONS, m_listResolutions);
    DDX_Control(pDX, IDC_STATIC_DISPLAYS, m_staticDisplays);
    DDX_Control(pDX, IDC_STATIC_RENDERERS, m_staticRenderers);
    DDX_Control(pDX, IDC_STATIC_RESOLUTIONS, m_staticResolutions);
    DDX_Control(pDX, IDC_STATIC_WARNING, m_staticWarning);
}

BOOL CPropertyPage_Display::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    InitLists();
    LocalizeStatics();
    return FALSE;
}

void CPropertyPage_Display::InitLists()
{
    // No folder: the game executable and the prior settings.cfg are looked for in the
    // working folder, which is the installation folder the launcher is started in.
    m_catalogue.Build(L"", kSettingsFileNameW);
    FillLists();
}

void CPropertyPage_Display::FillLists()
{
    if (!GetSafeHwnd())
        return;
    const HWND renderers = GetDlgItem(IDC_LIST_RENDERERS).GetSafeHwnd();
    const HWND displays = GetDlgItem(IDC_LIST_DISPLAYS).GetSafeHwnd();
    const HWND resolutions = GetDlgItem(IDC_LIST_RESOLUTIONS).GetSafeHwnd();
    if (renderers && displays && resolutions)
        m_catalogue.FillLists(renderers, displays, resolutions);
}

void CPropertyPage_Display::LocalizeStatics()
{
    if (!GetSafeHwnd())
        return;
    SetCaptionFromDatabase(GetDlgItem(IDC_STATIC_DISPLAYS), m_pStringDatabase, "StaticDisplays");
    SetCaptionFromDatabase(GetDlgItem(IDC_STATIC_RENDERERS), m_pStringDatabase, "StaticRenderers");
    SetCaptionFromDatabase(GetDlgItem(IDC_STATIC_RESOLUTIONS), m_pStringDatabase,
                           "StaticResolutions");
    SetCaptionFromDatabase(GetDlgItem(IDC_STATIC_WARNING), m_pStringDatabase, "StaticWarning");
    // The lists' hidden labels read as their groups do.
    SetCaptionFromDatabase(GetDlgItem(IDC_LABEL_DISPLAYS), m_pStringDatabase, "StaticDisplays");
    SetCaptionFromDatabase(GetDlgItem(IDC_LABEL_RENDERERS), m_pStringDatabase, "StaticRenderers");
    SetCaptionFromDatabase(GetDlgItem(IDC_LABEL_RESOLUTIONS), m_pStringDatabase,
                           "StaticResolutions");
}

BOOL CPropertyPage_Display::OnCommand(WORD id, WORD code)
{
    const bool isList =
        id == IDC_LIST_DISPLAYS || id == IDC_LIST_RENDERERS || id == IDC_LIST_RESOLUTIONS;
    if (!isList || code != LBN_SELCHANGE)
        return CPropertyPage::OnCommand(id, code);
    OnSelChangeList();
    return TRUE;
}

void CPropertyPage_Display::OnSelChangeList()
{
    if (GetSafeHwnd())
        m_catalogue.UpdateFromLists(m_listRenderers.GetSafeHwnd(), m_listDisplays.GetSafeHwnd(),
                                    m_listResolutions.GetSafeHwnd());
    // Any change counts, also one the catalogue could not take (no line selected).
    SetModified(TRUE);
}

void CPropertyPage_Display::ApplyStoredSettings(CSettingsFile& settings)
{
    ::ApplyStoredSettings(*this, settings);
}

size_t CPropertyPage_Display::GroupCount() const
{
    // Without a display to choose (no game executable here, no Direct3D, or no usable mode)
    // this page writes no display lines. Its keys then stay in the store and are written back
    // unchanged, so that a save from such a run does not lose the player's display choice.
    RendererInfo* const anyRenderer = m_catalogue.FindRenderer(L"");
    return anyRenderer && anyRenderer->FirstDisplay() ? 1 : 0;
}

std::string CPropertyPage_Display::TakeStoredGroup(CSettingsFile& settings, size_t)
{
    std::string stored;
    for (const char* key : {"DeviceName", "Renderer", "ScreenWidth", "ScreenHeight", "BitDepth"})
        settings.TakeLine(key, stored);
    return stored;
}

void CPropertyPage_Display::ApplyStoredGroup(size_t, const std::string& text)
{
    CSettingsFile settings;
    CSettingsFile::FromBytes(text.data(), text.size(), settings);
    StoredChoice stored;
    TakeStoredChoice(settings, stored);

    // Every renderer has the same label, so any stored text finds the first one.
    const CAnsiToWide wideRendererName(stored.rendererName.c_str());
    RendererInfo* renderer = m_catalogue.FindRenderer(wideRendererName.Text());
    m_catalogue.SetChosenRenderer(renderer);

    DisplayInfo* display = nullptr;
    if (!stored.deviceName.empty())
    {
        const CAnsiToWide wideDeviceName(stored.deviceName.c_str());
        renderer->SelectDisplay(wideDeviceName.Text());
        display = renderer->GetChosenDisplay();
    }
    // Without a stored display that still exists, the stored resolution is looked up on the
    // first display, and the chosen display stays as it was.
    if (!display)
        display = renderer->FirstDisplay();
    // A stored size this display lacks is written as it was stored until the player chooses
    // one, rather than the size chosen before.
    if (display && !display->SelectResolution(stored.width, stored.height, stored.bitDepth) &&
        !m_storedResolutionLines.empty())
        display->SetChosenResolution(nullptr);

    FillLists();
}

std::string CPropertyPage_Display::GroupText(size_t) const
{
    return GetSettingsText();
}

void CPropertyPage_Display::TakeStoredChoice(CSettingsFile& settings, StoredChoice& stored)
{
    stored.deviceName = settings.TakeString("DeviceName", "");
    stored.rendererName = settings.TakeString("Renderer", "");
    m_storedResolutionLines.clear();
    stored.width = TakeStoredResolutionValue(settings, "ScreenWidth");
    stored.height = TakeStoredResolutionValue(settings, "ScreenHeight");
    stored.bitDepth = TakeStoredResolutionValue(settings, "BitDepth");
}

int CPropertyPage_Display::TakeStoredResolutionValue(CSettingsFile& settings, const char* key)
{
    std::string value;
    if (!settings.TakeValue(key, value))
        return 0;
    AppendSettingsLine(m_storedResolutionLines, key, value);
    return atoi(value.c_str());
}

std::string CPropertyPage_Display::GetSettingsText() const
{
    const RendererInfo* renderer = m_catalogue.GetChosenRenderer();
    const DisplayInfo* display = renderer ? renderer->GetChosenDisplay() : nullptr;
    const bool hasDisplay = display && !display->GetDescription().empty();
    const ResolutionInfo* resolution = hasDisplay ? display->GetChosenResolution() : nullptr;

    std::string text;
    if (hasDisplay)
    {
        AppendSettingsLine(text, "DeviceName", WideToAnsi(display->GetDeviceName()));
        // The display's description is stored under "Renderer".
        AppendSettingsLine(text, "Renderer", WideToAnsi(display->GetDescription()));
    }
    if (resolution)
    {
        AppendSettingsLine(text, "ScreenWidth", std::to_string(resolution->GetWidth()));
        AppendSettingsLine(text, "ScreenHeight", std::to_string(resolution->GetHeight()));
        AppendSettingsLine(text, "BitDepth", std::to_string(resolution->GetBitDepth()));
    }
    else
    {
        // A stored resolution that this display lacks, or that the player never changed, is
        // kept until the player chooses one, rather than dropped by a save of other settings.
        text += m_storedResolutionLines;
    }
    return text;
}
