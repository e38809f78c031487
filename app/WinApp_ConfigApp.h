#pragma once

#include "framework/WinApp.h"

// The launcher's application object. Its InitInstance does the whole run: the string
// database, the configuration sheet shown modally, and an orderly tear-down.
class CWinApp_ConfigApp : public CWinApp
{
public:
    // Maps ID_HELP to the standard OnHelp; there are no other application commands.
    BOOL OnCommand(UINT id) override;
    // Always FALSE: the process ends when the sheet has closed, without a message loop.
    BOOL InitInstance() override;
};
