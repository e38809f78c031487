#pragma once

#include "display/DisplayCatalogue.h"

#include "tests/display/FakeDirect3D.h"

// A catalogue whose renderers are added empty (their enumeration finds no adapter), to be
// filled by hand with AddDisplay and AddResolution.
struct HandFilledCatalogue
{
    RendererInfo* AddRenderer() { return catalogue.AddRenderer(L"DRAV.exe"); }

    FakeDirect3D noAdapters;
    DisplayCatalogue catalogue{CreateFakeDirect3D};
};
