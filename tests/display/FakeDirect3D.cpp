#include "tests/display/FakeDirect3D.h"

#include <algorithm>
#include <cstring>

namespace
{
FakeDirect3D* g_current = nullptr;

template <size_t Size> void CopyField(char (&field)[Size], const std::string& text)
{
    memcpy(field, text.data(), std::min(text.size(), Size));
}
} // namespace

FakeDirect3D::FakeDirect3D(std::vector<FakeAdapter> adapters) : m_adapters(std::move(adapters))
{
    g_current = this;
}

FakeDirect3D::~FakeDirect3D()
{
    if (g_current == this)
        g_current = nullptr;
}

IDirect3D9* CreateFakeDirect3D()
{
    if (g_current == nullptr)
        return nullptr;
    ++g_current->m_creations;
    g_current->AddRef();
    return g_current;
}

IDirect3D9* CreateNoDirect3D()
{
    return nullptr;
}

HRESULT FakeDirect3D::QueryInterface(REFIID, void** object)
{
    if (object != nullptr)
        *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDirect3D::AddRef()
{
    return ++m_references;
}

ULONG FakeDirect3D::Release()
{
    return --m_references;
}

HRESULT FakeDirect3D::RegisterSoftwareDevice(void*)
{
    return D3DERR_INVALIDCALL;
}

UINT FakeDirect3D::GetAdapterCount()
{
    return static_cast<UINT>(m_adapters.size());
}

HRESULT FakeDirect3D::GetAdapterIdentifier(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER9* identifier)
{
    if (adapter >= m_adapters.size() || identifier == nullptr)
        return D3DERR_INVALIDCALL;
    const FakeAdapter& fake = m_adapters[adapter];
    CopyField(identifier->DeviceName, fake.deviceName);
    CopyField(identifier->Description, fake.description);
    return fake.identifierFails ? D3DERR_NOTAVAILABLE : D3D_OK;
}

UINT FakeDirect3D::GetAdapterModeCount(UINT adapter, D3DFORMAT format)
{
    if (format != D3DFMT_X8R8G8B8)
        m_otherFormatAsked = true;
    if (adapter >= m_adapters.size())
        return 0;
    return static_cast<UINT>(m_adapters[adapter].modes.size());
}

HRESULT FakeDirect3D::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT modeIndex,
                                       D3DDISPLAYMODE* mode)
{
    if (format != D3DFMT_X8R8G8B8)
        m_otherFormatAsked = true;
    if (adapter >= m_adapters.size() || modeIndex >= m_adapters[adapter].modes.size() ||
        mode == nullptr)
        return D3DERR_INVALIDCALL;
    // A driver may report modes of other formats than the one asked for.
    const FakeMode& fake = m_adapters[adapter].modes[modeIndex];
    mode->Width = fake.width;
    mode->Height = fake.height;
    mode->RefreshRate = fake.refreshRate;
    mode->Format = fake.format;
    return fake.fails ? D3DERR_INVALIDCALL : D3D_OK;
}

HRESULT FakeDirect3D::GetAdapterDisplayMode(UINT, D3DDISPLAYMODE*)
{
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDirect3D::CheckDeviceType(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, WINBOOL)
{
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDirect3D::CheckDeviceFormat(UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE,
                                        D3DFORMAT)
{
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDirect3D::CheckDeviceMultiSampleType(UINT, D3DDEVTYPE, D3DFORMAT, WINBOOL,
                                                 D3DMULTISAMPLE_TYPE, DWORD*)
{
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDirect3D::CheckDepthStencilMatch(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, D3DFORMAT)
{
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDirect3D::CheckDeviceFormatConversion(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT)
{
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDirect3D::GetDeviceCaps(UINT, D3DDEVTYPE, D3DCAPS9*)
{
    return D3DERR_INVALIDCALL;
}

HMONITOR FakeDirect3D::GetAdapterMonitor(UINT)
{
    return nullptr;
}

HRESULT FakeDirect3D::CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*,
                                   IDirect3DDevice9** device)
{
    if (device != nullptr)
        *device = nullptr;
    return D3DERR_INVALIDCALL;
}
