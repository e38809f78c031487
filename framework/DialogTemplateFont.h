#pragma once

#include <windows.h>

// The point size of the font a dialog template (DLGTEMPLATE or DLGTEMPLATEEX) asks for, where
// it can be changed in place; null when the template names no font (no DS_SETFONT).
WORD* DialogFontSize(void* dialogTemplate);
