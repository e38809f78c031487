#pragma once

// Clears WS_VISIBLE in a dialog template, plain (DLGTEMPLATE) or extended (DLGTEMPLATEEX), so
// that the dialog made from it starts hidden.
void MakeTemplateHidden(void* dialogTemplate);
