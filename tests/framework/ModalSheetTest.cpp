#include "tests/framework/TestSheet.h"
#include "tests/support/MessageBoxCloser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>

namespace
{
bool g_fallbackFired = false;

// Ends a modal run that a fault would leave open, so that the test fails instead of hanging.
void CALLBACK CancelStuckSheet(HWND sheet, UINT, UINT_PTR, DWORD)
{
    g_fallbackFired = true;
    PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// Runs `sheet` modally; once it is initialised, `messages` are posted to it in order.
INT_PTR RunWithPostedMessages(TestSheet& sheet, std::vector<MSG> messages)
{
    g_fallbackFired = false;
    sheet.m_afterInit = [messages](TestSheet& initialised)
    {
        const HWND hwnd = initialised.GetSafeHwnd();
        for (const MSG& message : messages)
            PostMessageW(hwnd, message.message, message.wParam, message.lParam);
        SetTimer(hwnd, 1, 10000, &CancelStuckSheet);
    };
    return sheet.DoModal();
}

MSG Command(WORD id)
{
    MSG message = {};
    message.message = WM_COMMAND;
    message.wParam = MAKEWPARAM(id, BN_CLICKED);
    return message;
}

size_t CountOf(const EventLog& log, const std::string& event)
{
    return static_cast<size_t>(std::count(log.begin(), log.end(), event));
}
} // namespace

TEST(ModalSheet, OkPressedFromInsideOnOkEndsTheRun)
{
    for (bool pressByCommand : {false, true})
    {
        SCOPED_TRACE(pressByCommand ? "presses echoed as commands" : "PressButton");
        HandlerSheet sheet;
        sheet.m_pressByCommand = pressByCommand;
        EXPECT_GT(RunWithPostedMessages(sheet, {Command(IDOK)}), 0);
        EXPECT_FALSE(g_fallbackFired);
        EXPECT_EQ(sheet.m_okCalls, 1);
        EXPECT_EQ(sheet.m_applyNowCalls, 0);
        EXPECT_EQ(sheet.m_log.front(), "init lists");
        EXPECT_EQ(sheet.m_log[1], "init sheet on lists");
        EXPECT_GE(CountOf(sheet.m_log, "apply lists"), 1u);
        EXPECT_EQ(sheet.GetSafeHwnd(), nullptr);
        EXPECT_EQ(sheet.m_lists.GetSafeHwnd(), nullptr);
    }
}

TEST(ModalSheet, CancelAndCloseBoxEndTheRunWithoutHandlersOrApply)
{
    MSG closeBox = {};
    closeBox.message = WM_SYSCOMMAND;
    closeBox.wParam = SC_CLOSE;
    for (const MSG& close : {Command(IDCANCEL), closeBox})
    {
        HandlerSheet sheet;
        EXPECT_EQ(RunWithPostedMessages(sheet, {close}), 0);
        EXPECT_FALSE(g_fallbackFired);
        EXPECT_EQ(sheet.m_okCalls + sheet.m_applyNowCalls, 0);
        EXPECT_EQ(CountOf(sheet.m_log, "apply lists"), 0u);
    }
}

TEST(ModalSheet, RefusedOkKeepsTheRunAndApplyReachesItsHandlerOnly)
{
    HandlerSheet refused;
    refused.m_lists.m_exchangeMissingControl = true;
    EXPECT_EQ(RunWithPostedMessages(refused, {Command(IDOK), Command(IDCANCEL)}), 0);
    EXPECT_FALSE(g_fallbackFired);
    EXPECT_EQ(refused.m_okCalls, 1);
    EXPECT_EQ(CountOf(refused.m_log, "apply lists"), 0u);

    HandlerSheet applied;
    RunWithPostedMessages(applied, {Command(ID_APPLY_NOW), Command(IDCANCEL)});
    EXPECT_FALSE(g_fallbackFired);
    EXPECT_EQ(applied.m_applyNowCalls, 1);
    EXPECT_EQ(applied.m_okCalls, 0);
    EXPECT_EQ(CountOf(applied.m_log, "apply lists"), 1u);
}

TEST(ModalSheet, ASheetWhoseSetUpFailsTellsThePlayerAndEndsTheRun)
{
    MessageBoxCloser boxes;
    TestSheet sheet;
    g_fallbackFired = false;
    sheet.m_afterInit = [](TestSheet& initialised)
    {
        SetTimer(initialised.GetSafeHwnd(), 1, 10000, &CancelStuckSheet);
        throw std::bad_alloc();
    };
    EXPECT_EQ(sheet.DoModal(), 0);
    EXPECT_FALSE(g_fallbackFired) << "the run went on without a window";
    EXPECT_EQ(boxes.TakeBoxes().size(), 1u);
}
