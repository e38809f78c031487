#include "display/DisplayCatalogue.h"

#include "display/PriorChoiceLines.h"
#include "settings/FixedNames.h"

#include <cstdio>

bool DisplayCatalogue::ReadPriorChoice(const wchar_t* settingsFileName)
{
    if (settingsFileName == nullptr)
        return false;
    FILE* file = _wfopen(settingsFileName, L"r");
    if (file == nullptr)
        return false;

    PriorChoiceLines prior;
    char line[PriorChoiceLines::kPieceSize];
    while (prior.WantsMore() && fgets(line, sizeof line, file) != nullptr)
        prior.Take(line);
    fclose(file);

    m_chosenRenderer = FindRenderer(kRendererLabel);
    if (m_chosenRenderer != nullptr)
        if (DisplayInfo* display = m_chosenRenderer->FirstDisplay())
            display->SelectResolution(prior.Width(), prior.Height(), prior.BitDepth());
    return true;
}
