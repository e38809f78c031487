#include "display/DisplayCatalogue.h"

#include "framework/WinApp.h"
#include "settings/BoundedString.h"
#include "settings/ProductMode.h"
#include "text/TextConversion.h"

#include <io.h>

#include <memory>

namespace
{
// The search pattern is cut to this many characters.
constexpr size_t kMaximumPatternLength = 255;

// The installed product's executable name, read from the product file at this moment.
std::wstring GameExecutableName()
{
    char name[MAX_PATH];
    BoundedCopy(name, GetGameExecutableName(), sizeof name);
    return CAnsiToWide(name).Text();
}

// The executable name alone for no folder, so the platform resolves it against the working
// folder; otherwise the folder and the name joined by exactly one backslash.
std::wstring SearchPattern(const wchar_t* folder, const std::wstring& executableName)
{
    std::wstring pattern;
    if (folder != nullptr && *folder != L'\0')
    {
        pattern = folder;
        if (pattern.back() != L'\\')
            pattern += L'\\';
    }
    pattern += executableName;
    if (pattern.size() > kMaximumPatternLength)
        pattern.resize(kMaximumPatternLength);
    return pattern;
}
} // namespace

bool DisplayCatalogue::Build(const wchar_t* folder, const wchar_t* settingsFileName)
{
    m_folder = folder != nullptr ? folder : L"";
    CWaitCursor waitCursor;
    DiscoverRenderers(m_folder.c_str());
    ChooseDefaults();
    ReadPriorChoice(settingsFileName);
    return true;
}

int DisplayCatalogue::DiscoverRenderers(const wchar_t* folder)
{
    const std::wstring pattern = SearchPattern(folder, GameExecutableName());
    _wfinddata_t match;
    const intptr_t search = _wfindfirst(pattern.c_str(), &match);
    if (search == -1)
        return 0;
    int added = 0;
    do
    {
        if (AddRenderer(match.name) != nullptr)
            ++added;
    } while (_wfindnext(search, &match) == 0);
    _findclose(search);
    return added;
}

RendererInfo* DisplayCatalogue::AddRenderer(const wchar_t* fileName)
{
    if (fileName == nullptr)
        return nullptr;
    auto renderer = std::make_unique<RendererInfo>();
    if (!renderer->EnumerateDisplays(fileName, m_createDirect3D))
        return nullptr;
    return m_renderers.Append(std::move(renderer));
}

void DisplayCatalogue::ChooseDefaults()
{
    m_chosenRenderer = m_renderers.Front();
    for (RendererInfo* renderer = FirstRenderer(); renderer != nullptr; renderer = NextRenderer())
        renderer->SetChosenDisplay(renderer->FirstDisplay());
}
