#include "display/Direct3DStart.h"

#include <d3d9.h>

namespace
{
CDirect3DStart* g_living = nullptr;
} // namespace

CDirect3DStart::CDirect3DStart()
{
    g_living = this;
    m_thread = CreateThread(nullptr, 0, &CDirect3DStart::Create, this, 0, nullptr);
}

CDirect3DStart::~CDirect3DStart()
{
    if (m_thread)
    {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }
    if (m_direct3D)
        m_direct3D->Release();
    if (g_living == this)
        g_living = nullptr;
}

IDirect3D9* CDirect3DStart::Take()
{
    if (m_taken)
        return nullptr;
    m_taken = true;
    if (!m_thread)
        return Direct3DCreate9(D3D_SDK_VERSION);
    WaitForSingleObject(m_thread, INFINITE);
    IDirect3D9* const direct3D = m_direct3D;
    m_direct3D = nullptr;
    return direct3D;
}

CDirect3DStart* CDirect3DStart::Pending()
{
    return g_living && !g_living->m_taken ? g_living : nullptr;
}

DWORD WINAPI CDirect3DStart::Create(void* start)
{
    static_cast<CDirect3DStart*>(start)->m_direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    return 0;
}
