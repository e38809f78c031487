#include "framework/DialogTemplate.h"

#include <windows.h>

namespace
{
// The head of an extended dialog template (DLGTEMPLATEEX), which the headers do not declare.
struct DialogTemplateExHead
{
    WORD dlgVer;
    WORD signature;
    DWORD helpID;
    DWORD exStyle;
    DWORD style;
};
// Steps over a menu or window class field: 0 (none), 0xFFFF and an ordinal, or a string.
const WORD* SkipNameOrOrdinal(const WORD* field)
{
    if (*field == 0xFFFF)
        return field + 2;
    while (*field != 0)
        ++field;
    return field + 1;
}

const WORD* SkipString(const WORD* text)
{
    while (*text != 0)
        ++text;
    return text + 1;
}
} // namespace

void MakeTemplateHidden(void* dialogTemplate)
{
    auto* extended = static_cast<DialogTemplateExHead*>(dialogTemplate);
    if (extended->signature == 0xFFFF)
        extended->style &= ~WS_VISIBLE;
    else
        static_cast<DLGTEMPLATE*>(dialogTemplate)->style &= ~WS_VISIBLE;
}

WORD* DialogFontSize(void* dialogTemplate)
{
    const auto* words = static_cast<const WORD*>(dialogTemplate);
    const bool extended = words[1] == 0xFFFF;
    DWORD style = 0;
    const WORD* field = nullptr;
    if (extended)
    {
        // dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy.
        style = *reinterpret_cast<const DWORD*>(words + 6);
        field = words + 13;
    }
    else
    {
        // style, dwExtendedStyle, cdit, x, y, cx, cy.
        style = *reinterpret_cast<const DWORD*>(words);
        field = words + 9;
    }
    if (!(style & DS_SETFONT))
        return nullptr;
    field = SkipNameOrOrdinal(field); // menu
    field = SkipNameOrOrdinal(field); // window class
    field = SkipString(field);        // title
    return const_cast<WORD*>(field);
}
