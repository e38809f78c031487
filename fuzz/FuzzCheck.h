#pragma once

#include <cstdio>
#include <cstdlib>

// Ends the run when a property does not hold, so that libFuzzer keeps the input as a crash.
inline void Check(bool holds, const char* property)
{
    if (holds)
        return;
    fprintf(stderr, "property broken: %s\n", property);
    abort();
}
