#pragma once

#include <windows.h>

struct IDirect3D9;

// Starts Direct3D 9 on a thread of its own while the program makes its sheet.
//
// Direct3DCreate9 is most of what the player waits for before the sheet shows: under Wine it
// makes an OpenGL context to learn the adapters' capabilities, a quarter of a second. Nothing
// before the Display page's enumeration needs it, so the application starts it first thing and
// reads the string database and makes the sheet and its first page meanwhile. The object is
// used on the user-interface thread afterwards, as any Direct3D 9 object without a device may.
//
// While a CDirect3DStart lives, the first CreateDirect3D9 takes the object it started, waiting
// for it if need be; later calls create their own. One lives at a time, on the thread that
// calls CreateDirect3D9.
class CDirect3DStart
{
public:
    CDirect3DStart();
    // Waits for the thread and releases an object nobody took.
    ~CDirect3DStart();
    CDirect3DStart(const CDirect3DStart&) = delete;
    CDirect3DStart& operator=(const CDirect3DStart&) = delete;

    // The started object, once it is made, or a new one where no thread could be started;
    // null where Direct3D 9 has none, and at every call after the first.
    IDirect3D9* Take();

    // The living start whose object is not taken yet, or null.
    static CDirect3DStart* Pending();

private:
    static DWORD WINAPI Create(void* start);

    HANDLE m_thread = nullptr;
    IDirect3D9* m_direct3D = nullptr;
    bool m_taken = false;
};
