#pragma once

#include <windows.h>

// Clears WS_VISIBLE in a dialog template, plain (DLGTEMPLATE) or extended (DLGTEMPLATEEX), so
// that the dialog made from it starts hidden.
void MakeTemplateHidden(void* dialogTemplate);

// The point size of the font a dialog template (DLGTEMPLATE or DLGTEMPLATEEX) asks for, where
// it can be changed in place; null when the template names no font (no DS_SETFONT).
WORD* DialogFontSize(void* dialogTemplate);
