#include "ui/PropertyPage_Display.h"

#include "framework/DataExchange.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsText.h"
#include "strings/AnsiToWide.h"
#include "strings/StringDatabase.h"
#include "strings/WideTextCopy.h"
#include "ui/resource.h"

namespace
{
std::string ToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, &ansi[0], size, nullptr, nullptr);
    return ansi;
}
} // namespace

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
    m_catalogue.Build(L"", L"settings.cfg");
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
    const struct
    {
        int id;
        const char* key;
    } captions[] = {
        {IDC_STATIC_DISPLAYS, "StaticDisplays"},
        {IDC_STATIC_RENDERERS, "StaticRenderers"},
        {IDC_STATIC_RESOLUTIONS, "StaticResolutions"},
        {IDC_STATIC_WARNING, "StaticWarning"},
    };
    for (const auto& caption : captions)
    {
        CWnd control = GetDlgItem(caption.id);
        if (!control.GetSafeHwnd())
            continue;
        const CWideTextCopy text(m_pStringDatabase->Lookup(caption.key));
        control.SetWindowTextW(text.Text());
    }
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
    // Without a display to choose (no game executable here, no Direct3D, or no usable mode)
    // this page writes no display lines. Its keys then stay in the store and are written back
    // unchanged, so that a save from such a run does not lose the player's display choice.
    RendererInfo* const anyRenderer = m_catalogue.FindRenderer(L"");
    if (!anyRenderer || !anyRenderer->FirstDisplay())
        return;

    const std::string deviceName = settings.TakeString("DeviceName", "");
    const std::string rendererName = settings.TakeString("Renderer", "");
    const int width = settings.TakeInt("ScreenWidth", 0);
    const int height = settings.TakeInt("ScreenHeight", 0);
    const int bitDepth = settings.TakeInt("BitDepth", 0);

    // Every renderer has the same label, so any stored text finds the first one.
    const CAnsiToWide wideRendererName(rendererName.c_str());
    RendererInfo* renderer = m_catalogue.FindRenderer(wideRendererName.Text());
    m_catalogue.SetChosenRenderer(renderer);

    DisplayInfo* display = nullptr;
    if (!deviceName.empty())
    {
        const CAnsiToWide wideDeviceName(deviceName.c_str());
        renderer->SelectDisplay(wideDeviceName.Text());
        display = renderer->GetChosenDisplay();
    }
    // Without a stored display that still exists, the stored resolution is looked up on the
    // first display, and the chosen display stays as it was.
    if (!display)
        display = renderer->FirstDisplay();
    if (display)
        display->SelectResolution(width, height, bitDepth);

    FillLists();
}

std::string CPropertyPage_Display::GetSettingsText() const
{
    const RendererInfo* renderer = m_catalogue.GetChosenRenderer();
    const DisplayInfo* display = renderer ? renderer->GetChosenDisplay() : nullptr;
    if (!display || display->GetDescription().empty())
        return std::string();

    std::string text;
    AppendSettingsLine(text, "DeviceName", ToAnsi(display->GetDeviceName()));
    // The display's description is stored under "Renderer".
    AppendSettingsLine(text, "Renderer", ToAnsi(display->GetDescription()));
    if (const ResolutionInfo* resolution = display->GetChosenResolution())
    {
        AppendSettingsLine(text, "ScreenWidth", std::to_string(resolution->GetWidth()));
        AppendSettingsLine(text, "ScreenHeight", std::to_string(resolution->GetHeight()));
        AppendSettingsLine(text, "BitDepth", std::to_string(resolution->GetBitDepth()));
    }
    return text;
}
