#pragma once

#include "framework/ListBox.h"
#include "framework/PropertyPage.h"
#include "framework/PropertySheet.h"
#include "tests/support/MessagePump.h"

#include <functional>
#include <string>
#include <vector>

// What happened in a test sheet, in order ("init lists", "apply switches", ...).
using EventLog = std::vector<std::string>;

// A page on the Display template. Selection changes of its three lists mark it modified.
class ListsPage : public CPropertyPage
{
public:
    explicit ListsPage(EventLog& log);
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    CListBox m_listResolutions;
    std::vector<WORD> m_selChanges;
    // Makes every data exchange of the page fail, as a page with invalid input does.
    bool m_exchangeMissingControl = false;
    // Makes OnApply throw, as a handler does that runs out of memory.
    bool m_throwOnApply = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    EventLog& m_log;
};

// A page on the Options template: two check boxes and the edit are exchanged with members;
// clicks and edits mark it modified.
class SwitchesPage : public CPropertyPage
{
public:
    explicit SwitchesPage(EventLog& log);
    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    int m_sound = 0;
    int m_music = 0;
    std::wstring m_commandLine;
    CWnd m_checkSound;
    CWnd m_editCommandLine;
    int m_changes = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WORD id, WORD code) override;

private:
    EventLog& m_log;
};

// A sheet with the lists page (first tab) and the switches page, leaving OK and Apply to the
// property sheet control.
class TestSheet : public CPropertySheet
{
public:
    TestSheet();
    BOOL OnInitDialog() override;

    EventLog m_log;
    ListsPage m_lists;
    SwitchesPage m_switches;
    // Runs at the end of OnInitDialog.
    std::function<void(TestSheet&)> m_afterInit;
};

// A sheet that handles OK and Apply itself the way the launcher does: validate the active
// page, press the control's Apply, and for OK press the control's OK.
class HandlerSheet : public TestSheet
{
public:
    // Presses sent as WM_COMMAND to the sheet itself, which is what PSM_PRESSBUTTON turns
    // into on some versions of the control.
    bool m_pressByCommand = false;
    int m_okCalls = 0;
    int m_applyNowCalls = 0;

protected:
    void OnOK() override;
    void OnApplyNow() override;

private:
    bool ValidateAndApply();
    void Press(int button, WORD buttonId);
};
