#pragma once

#include <d3d9.h>

#include <string>
#include <vector>

// Stands in for machines the test machine cannot be: adapters with descriptions and modes of
// their own, odd drivers, calls that fail. (Wine's second monitor repeats the first one's
// description and modes, and exists only on the display that e2e_two_monitor_tests makes.) It
// implements the real IDirect3D9 interface; the adapter and mode calls answer from the
// description below, every other call refuses with D3DERR_INVALIDCALL.

struct FakeMode
{
    UINT width;
    UINT height;
    UINT refreshRate;
    D3DFORMAT format;
    // EnumAdapterModes fills in the mode all the same, then reports a failure.
    bool fails = false;
};

struct FakeAdapter
{
    // Copied into the identifier's fixed fields byte for byte; a text as long as the field
    // leaves it without a terminator.
    std::string deviceName;
    std::string description;
    std::vector<FakeMode> modes;
    // GetAdapterIdentifier fills in the identifier all the same, then reports a failure.
    bool identifierFails = false;
};

class FakeDirect3D : public IDirect3D9
{
public:
    // The new object is the one CreateFakeDirect3D hands out, until it is destroyed.
    explicit FakeDirect3D(std::vector<FakeAdapter> adapters = {});
    ~FakeDirect3D();
    FakeDirect3D(const FakeDirect3D&) = delete;
    FakeDirect3D& operator=(const FakeDirect3D&) = delete;

    // References handed out and not yet released.
    ULONG References() const { return m_references; }
    int Creations() const { return m_creations; }
    // True when a mode count or mode was asked for in a format other than X8R8G8B8.
    bool OtherFormatAsked() const { return m_otherFormatAsked; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void* initializeFunction) override;
    UINT STDMETHODCALLTYPE GetAdapterCount() override;
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT adapter, DWORD flags,
                                                   D3DADAPTER_IDENTIFIER9* identifier) override;
    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT modeIndex,
                                               D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE deviceType,
                                              D3DFORMAT displayFormat, D3DFORMAT backBufferFormat,
                                              WINBOOL windowed) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType,
                                                D3DFORMAT adapterFormat, DWORD usage,
                                                D3DRESOURCETYPE resourceType,
                                                D3DFORMAT checkFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE deviceType,
                                                         D3DFORMAT surfaceFormat, WINBOOL windowed,
                                                         D3DMULTISAMPLE_TYPE multiSampleType,
                                                         DWORD* qualityLevels) override;
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE deviceType,
                                                     D3DFORMAT adapterFormat,
                                                     D3DFORMAT renderTargetFormat,
                                                     D3DFORMAT depthStencilFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormatConversion(UINT adapter, D3DDEVTYPE deviceType,
                                                          D3DFORMAT sourceFormat,
                                                          D3DFORMAT targetFormat) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType,
                                            D3DCAPS9* caps) override;
    HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT adapter) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                           DWORD behaviorFlags,
                                           D3DPRESENT_PARAMETERS* presentationParameters,
                                           IDirect3DDevice9** device) override;

private:
    friend IDirect3D9* CreateFakeDirect3D();

    std::vector<FakeAdapter> m_adapters;
    ULONG m_references = 0;
    int m_creations = 0;
    bool m_otherFormatAsked = false;
};

// A Direct3DFactory: the newest living FakeDirect3D with one more reference, or null when
// there is none.
IDirect3D9* CreateFakeDirect3D();

// A Direct3DFactory for a machine without Direct3D 9.
IDirect3D9* CreateNoDirect3D();
