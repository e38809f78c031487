#include "display/RendererInfo.h"

#include "display/Direct3DStart.h"
#include "text/TextConversion.h"

#include <d3d9.h>

namespace
{
// Only this format is offered to the game, and the catalogue records it as 32 bits.
constexpr D3DFORMAT kModeFormat = D3DFMT_X8R8G8B8;
constexpr int kModeBitDepth = 32;
constexpr UINT kMinimumWidth = 640;
constexpr UINT kMinimumHeight = 480;

bool IsUsableMode(const D3DDISPLAYMODE& mode)
{
    return mode.Width >= kMinimumWidth && mode.Height >= kMinimumHeight &&
           mode.Format == kModeFormat;
}
} // namespace

IDirect3D9* CreateDirect3D9()
{
    if (CDirect3DStart* start = CDirect3DStart::Pending())
        return start->Take();
    return Direct3DCreate9(D3D_SDK_VERSION);
}

bool RendererInfo::EnumerateDisplays(const wchar_t* unusedExeName)
{
    return EnumerateDisplays(unusedExeName, CreateDirect3D9);
}

bool RendererInfo::EnumerateDisplays(const wchar_t*, Direct3DFactory create)
{
    IDirect3D9* direct3D = create != nullptr ? create() : nullptr;
    if (direct3D == nullptr)
        return false;

    const UINT adapterCount = direct3D->GetAdapterCount();
    for (UINT adapter = 0; adapter < adapterCount; ++adapter)
    {
        // An adapter whose identifier cannot be read is left out: its name and description
        // would be whatever the buffer held, not what the platform reported.
        D3DADAPTER_IDENTIFIER9 identifier = {};
        if (FAILED(direct3D->GetAdapterIdentifier(adapter, 0, &identifier)))
            continue;
        // The fields are read only up to their own size: a driver that fills one completely
        // leaves no terminator in it.
        const std::wstring deviceName =
            AnsiToWide(identifier.DeviceName, sizeof identifier.DeviceName);
        const std::wstring description =
            AnsiToWide(identifier.Description, sizeof identifier.Description);

        const UINT modeCount = direct3D->GetAdapterModeCount(adapter, kModeFormat);
        for (UINT modeIndex = 0; modeIndex < modeCount; ++modeIndex)
        {
            D3DDISPLAYMODE mode = {};
            if (FAILED(direct3D->EnumAdapterModes(adapter, kModeFormat, modeIndex, &mode)))
                continue;
            if (!IsUsableMode(mode))
                continue;

            DisplayInfo* display = FindDisplay(deviceName.c_str());
            if (display == nullptr)
                display = AddDisplay(deviceName.c_str(), description.c_str());
            if (display == nullptr)
                continue;

            const int width = static_cast<int>(mode.Width);
            const int height = static_cast<int>(mode.Height);
            if (display->FindResolution(width, height, kModeBitDepth) == nullptr)
                display->AddResolution(width, height, kModeBitDepth);
        }
    }

    direct3D->Release();
    return true;
}
