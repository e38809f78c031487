#pragma once

#include <cstdint>

// A second export of the stand-in library, for tests: how many databases are open and how
// many CloseDatabase calls were made, with any handle, since the library was loaded.
struct LexoraRuntimeCounters
{
    uint32_t openDatabases;
    uint32_t closeCalls;
};

using GetLexoraRuntimeCountersFunction = void (*)(LexoraRuntimeCounters* counters);

constexpr char kGetLexoraRuntimeCountersExport[] = "GetLexoraRuntimeCounters";
