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
} // namespace

void MakeTemplateHidden(void* dialogTemplate)
{
    auto* extended = static_cast<DialogTemplateExHead*>(dialogTemplate);
    if (extended->signature == 0xFFFF)
        extended->style &= ~WS_VISIBLE;
    else
        static_cast<DLGTEMPLATE*>(dialogTemplate)->style &= ~WS_VISIBLE;
}
