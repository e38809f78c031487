#pragma once

#include "strings/ReadStream.h"

#include <cstdint>

// The string manager that LexoraRuntime.dll hands out through its export "GetILexoraMgr".
// The launcher and the library share this layout, so the slot order must never change;
// the unused slots keep the positions of the operations the launcher does not call.
class ILexoraMgr
{
public:
    // Reads the whole database from `stream`, which is positioned at its start and belongs
    // to the caller. Returns the database handle, 0 when the database did not open.
    virtual uint32_t OpenDatabase(IReadStream* stream) = 0;
    virtual void CloseDatabase(uint32_t database) = 0;
    virtual void Unused2() = 0;
    virtual void Unused3() = 0;
    // The id of the string stored under the narrow key `key`.
    virtual uint32_t FindStringId(uint32_t database, const char* key) = 0;
    virtual void Unused5() = 0;
    // The text of string `id`, owned by the manager and valid until its next call.
    virtual const wchar_t* GetStringById(uint32_t database, uint32_t id) = 0;

protected:
    // The manager belongs to the library; nobody deletes it through this interface.
    ~ILexoraMgr() = default;
};

// The signature of the export "GetILexoraMgr".
using GetILexoraMgrFunction = ILexoraMgr* (*)();
