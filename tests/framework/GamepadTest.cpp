// What a controller's state does in the sheet, read through CGamepad from a stand-in for
// XInputGetState: one table from pad states to actions, how held buttons repeat, and a test
// sheet worked with the stand-in.
#include "framework/DirectionalFocus.h"
#include "framework/Gamepad.h"
#include "framework/PadActionTable.h"
#include "framework/PadRepeat.h"
#include "tests/framework/TestSheet.h"
#include "tools/driver/WaitUntil.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace
{
// The controllers the stand-in reports, by slot; a slot without a state is empty.
XINPUT_GAMEPAD g_pads[XUSER_MAX_COUNT];
bool g_connected[XUSER_MAX_COUNT];
// While set, it gives slot 0's state at each read instead of g_pads[0].
std::function<XINPUT_GAMEPAD()> g_script;
// Reads of a connected slot so far.
int g_reads = 0;

DWORD WINAPI StandInGetState(DWORD user, XINPUT_STATE* state)
{
    if (user >= XUSER_MAX_COUNT || !g_connected[user])
        return ERROR_DEVICE_NOT_CONNECTED;
    ++g_reads;
    *state = {};
    state->Gamepad = user == 0 && g_script ? g_script() : g_pads[user];
    return ERROR_SUCCESS;
}

void Plug(DWORD user, const XINPUT_GAMEPAD& pad)
{
    g_connected[user] = true;
    g_pads[user] = pad;
}

PadActions Actions(std::initializer_list<PadAction> actions)
{
    PadActions set = 0;
    for (PadAction action : actions)
        set |= PadActionBit(action);
    return set;
}

XINPUT_GAMEPAD Pad(WORD buttons, SHORT x = 0, SHORT y = 0)
{
    XINPUT_GAMEPAD pad = {};
    pad.wButtons = buttons;
    pad.sThumbLX = x;
    pad.sThumbLY = y;
    return pad;
}

class GamepadTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (bool& connected : g_connected)
            connected = false;
        g_script = nullptr;
    }
    CGamepad m_gamepad{&StandInGetState};
};

struct PadRow
{
    const char* what;
    XINPUT_GAMEPAD pad;
    PadActions held;
};

TEST_F(GamepadTest, PadStatesHoldTheirActions)
{
    using A = PadAction;
    const XINPUT_GAMEPAD triggersAndRightStick = {0, 255, 255, 0, 0, 32767, -32768};
    const PadRow rows[] = {
        {"nothing", Pad(0), 0},
        {"D-pad up", Pad(XINPUT_GAMEPAD_DPAD_UP), Actions({A::MoveUp})},
        {"D-pad down", Pad(XINPUT_GAMEPAD_DPAD_DOWN), Actions({A::MoveDown})},
        {"D-pad left", Pad(XINPUT_GAMEPAD_DPAD_LEFT), Actions({A::MoveLeft})},
        {"D-pad right", Pad(XINPUT_GAMEPAD_DPAD_RIGHT), Actions({A::MoveRight})},
        {"A", Pad(XINPUT_GAMEPAD_A), Actions({A::Activate})},
        {"B", Pad(XINPUT_GAMEPAD_B), Actions({A::Cancel})},
        {"LB", Pad(XINPUT_GAMEPAD_LEFT_SHOULDER), Actions({A::PreviousPage})},
        {"RB", Pad(XINPUT_GAMEPAD_RIGHT_SHOULDER), Actions({A::NextPage})},
        {"Start", Pad(XINPUT_GAMEPAD_START), Actions({A::Ok})},
        {"Back", Pad(XINPUT_GAMEPAD_BACK), Actions({A::Apply})},
        {"A and RB", Pad(XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_RIGHT_SHOULDER),
         Actions({A::Activate, A::NextPage})},
        {"X, Y and the stick buttons",
         Pad(XINPUT_GAMEPAD_X | XINPUT_GAMEPAD_Y | XINPUT_GAMEPAD_LEFT_THUMB |
             XINPUT_GAMEPAD_RIGHT_THUMB),
         0},
        {"triggers and right stick", triggersAndRightStick, 0},
        {"left stick halfway up", Pad(0, 0, 16384), Actions({A::MoveUp})},
        {"left stick just short of halfway", Pad(0, -16383, 16383), 0},
        {"left stick fully down", Pad(0, 0, -32768), Actions({A::MoveDown})},
        {"left stick fully left", Pad(0, -32768, 0), Actions({A::MoveLeft})},
        {"left stick down and a little right", Pad(0, 20000, -25000), Actions({A::MoveDown})},
        {"left stick and D-pad the same way", Pad(XINPUT_GAMEPAD_DPAD_RIGHT, 32767, 0),
         Actions({A::MoveRight})},
    };
    for (const PadRow& row : rows)
    {
        Plug(0, row.pad);
        XINPUT_GAMEPAD read = {};
        ASSERT_TRUE(m_gamepad.Read(read)) << row.what;
        EXPECT_EQ(row.held, HeldPadActions(read)) << row.what;
    }
}

TEST_F(GamepadTest, AControllerPluggedInOrOutAnyTimeIsFoundOrLetGo)
{
    XINPUT_GAMEPAD read = {};
    EXPECT_FALSE(m_gamepad.Read(read)) << "no controller";
    Plug(2, Pad(XINPUT_GAMEPAD_B));
    ASSERT_TRUE(m_gamepad.Read(read));
    EXPECT_EQ(XINPUT_GAMEPAD_B, read.wButtons);
    // The one in use stays in use while another is plugged in.
    Plug(0, Pad(XINPUT_GAMEPAD_A));
    ASSERT_TRUE(m_gamepad.Read(read));
    EXPECT_EQ(XINPUT_GAMEPAD_B, read.wButtons);
    g_connected[2] = false;
    ASSERT_TRUE(m_gamepad.Read(read));
    EXPECT_EQ(XINPUT_GAMEPAD_A, read.wButtons);
    g_connected[0] = false;
    EXPECT_FALSE(m_gamepad.Read(read));
    Plug(3, Pad(XINPUT_GAMEPAD_Y));
    ASSERT_TRUE(m_gamepad.Read(read)) << "the fourth slot alone";
    EXPECT_EQ(XINPUT_GAMEPAD_Y, read.wButtons);

    CGamepad withoutXInput(nullptr);
    EXPECT_FALSE(withoutXInput.Read(read));
}

TEST(PadRepeatTest, AButtonActsOnceWhenItGoesDown)
{
    CPadRepeat repeat(500, 50);
    const PadActions a = PadActionBit(PadAction::Activate);
    repeat.Update(0, 0);
    EXPECT_EQ(a, repeat.Update(a, 10));
    for (DWORD now = 20; now < 3000; now += 25)
        EXPECT_EQ(0u, repeat.Update(a, now)) << "held at " << now;
    EXPECT_EQ(0u, repeat.Update(0, 3000));
    EXPECT_EQ(a, repeat.Update(a, 3010));
}

TEST(PadRepeatTest, AHeldMoveRepeatsAfterTheDelayAtTheRate)
{
    CPadRepeat repeat(500, 50);
    const PadActions down = PadActionBit(PadAction::MoveDown);
    // The tick count wraps around while the move is held.
    const DWORD start = 0xFFFFFF00;
    repeat.Update(0, start - 25);
    int moves = 0;
    for (DWORD elapsed = 0; elapsed <= 1000; elapsed += 25)
        moves += repeat.Update(down, start + elapsed) == down;
    // Once at the press, at 500 ms, then every 50 ms up to 1000 ms.
    EXPECT_EQ(1 + 1 + 10, moves);
    // The move pressed last repeats, and stops with its release.
    const PadActions right = PadActionBit(PadAction::MoveRight);
    EXPECT_EQ(right, repeat.Update(down | right, start + 1025));
    EXPECT_EQ(0u, repeat.Update(down | right, start + 1400));
    EXPECT_EQ(right, repeat.Update(down | right, start + 1525));
    EXPECT_EQ(0u, repeat.Update(down, start + 1550));
    EXPECT_EQ(0u, repeat.Update(down, start + 2500));
}

// When a move held from 0 ms on repeats first, and how long it takes to repeat again.
std::pair<DWORD, DWORD> RepeatTimes(CPadRepeat repeat)
{
    const PadActions down = PadActionBit(PadAction::MoveDown);
    repeat.Update(0, 0);
    repeat.Update(down, 0);
    std::vector<DWORD> repeats;
    for (DWORD now = 1; now < 3000 && repeats.size() < 2; ++now)
    {
        if (repeat.Update(down, now) == down)
            repeats.push_back(now);
    }
    if (repeats.size() < 2)
        return {};
    return {repeats[0], repeats[1] - repeats[0]};
}

TEST(PadRepeatTest, AMoveRepeatsAfterThePlayersKeyboardDelayAtTheKeyboardsRate)
{
    const struct
    {
        UINT delay;
        DWORD speed;
        std::pair<DWORD, DWORD> repeats;
    } rows[] = {
        {0, 31, {250, 33}},  {1, 0, {500, 400}},  {2, 31, {750, 33}},
        {3, 31, {1000, 33}}, {9, 99, {1000, 33}},
    };
    for (const auto& row : rows)
    {
        EXPECT_EQ(row.repeats, RepeatTimes(CPadRepeat::WithKeyboardSettings(row.delay, row.speed)))
            << "delay " << row.delay << ", speed " << row.speed;
    }
    UINT delay = 0;
    DWORD speed = 0;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0));
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0));
    EXPECT_EQ(RepeatTimes(CPadRepeat::WithKeyboardSettings(delay, speed)),
              RepeatTimes(CPadRepeat::WithKeyboardSettings()));
}

TEST(PadRepeatTest, WhatIsHeldWhenReadingStartsWaitsForTheNextPress)
{
    CPadRepeat repeat(500, 50);
    const PadActions held = PadActionBit(PadAction::Activate) | PadActionBit(PadAction::MoveUp);
    repeat.Reset();
    EXPECT_EQ(0u, repeat.Update(held, 0));
    EXPECT_EQ(0u, repeat.Update(held, 2000)) << "a move held from before does not repeat";
    EXPECT_EQ(0u, repeat.Update(0, 2025));
    EXPECT_EQ(held, repeat.Update(held, 2050));
}

// A test sheet worked with the stand-in controller in slot 0.
class ControlledSheet : public GamepadTest
{
protected:
    void Open(TestSheet& sheet)
    {
        Plug(0, Pad(0));
        sheet.UseGamepad(&m_gamepad);
        const int readsBefore = g_reads;
        m_hwnd = sheet.Create();
        ASSERT_NE(m_hwnd, nullptr);
        // The sheet shows before it reads the controller, which it first does once painted.
        EXPECT_TRUE(IsWindowVisible(m_hwnd));
        EXPECT_EQ(g_reads, readsBefore) << "read before the sheet showed";
        ASSERT_TRUE(InFront(m_hwnd));
    }
    bool PumpUntil(const std::function<bool()>& condition)
    {
        return WaitUntil(
            [&]
            {
                PumpMessages(m_hwnd);
                return condition();
            },
            10000);
    }
    bool InFront(HWND window)
    {
        SetForegroundWindow(window);
        return PumpUntil([window] { return GetForegroundWindow() == window; }) && Settle();
    }
    // Waits until the sheet read the controller once more: a read acts on what it found before
    // the pump returns.
    bool Settle()
    {
        const int reads = g_reads;
        return PumpUntil([reads] { return g_reads > reads; });
    }
    // Holds exactly `buttons` until the sheet read them.
    void Hold(WORD buttons)
    {
        g_pads[0] = Pad(buttons);
        ASSERT_TRUE(Settle());
    }
    void Press(WORD buttons)
    {
        Hold(buttons);
        Hold(0);
    }
    int ShownPage() const
    {
        return PropSheet_HwndToIndex(m_hwnd, PropSheet_GetCurrentPageHwnd(m_hwnd));
    }
    bool Closed() const { return PropSheet_GetCurrentPageHwnd(m_hwnd) == nullptr; }

    HWND m_hwnd = nullptr;
};

TEST_F(ControlledSheet, DownLeavesAListAtItsLastLineAndEntersThePageFromTheTabs)
{
    TestSheet sheet;
    Open(sheet);
    const HWND list = sheet.m_lists.m_listResolutions.GetSafeHwnd();
    for (const wchar_t* line : {L"640 x 480", L"800 x 600", L"1024 x 768"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    sheet.SendMessageW(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);

    Press(XINPUT_GAMEPAD_DPAD_DOWN);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(GetFocus(), list);
    Press(XINPUT_GAMEPAD_DPAD_DOWN);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    ASSERT_NE(GetFocus(), list) << "the last line kept the focus";
    EXPECT_EQ(GetFocus(), ControlInDirection(m_hwnd, list, PadAction::MoveDown));

    const HWND tabs = sheet.GetTabControl().GetSafeHwnd();
    SetFocus(tabs);
    Press(XINPUT_GAMEPAD_DPAD_DOWN);
    EXPECT_EQ(ShownPage(), 0);
    EXPECT_TRUE(IsChild(sheet.m_lists.GetSafeHwnd(), GetFocus())) << "the focus stays on the tabs";
}

TEST_F(ControlledSheet, APressIsActedOnAtTheFirstReadThatSeesItWithinATenthOfASecond)
{
    TestSheet sheet;
    Open(sheet);
    // A player takes an answer within a tenth of a second as immediate; a press waits at
    // most one read interval.
    EXPECT_LE(sheet.GetGamepadReadInterval(), 100u);
    int reads = 0;
    g_script = [&] { return Pad(reads++ == 0 ? XINPUT_GAMEPAD_RIGHT_SHOULDER : 0); };
    ASSERT_TRUE(Settle());
    EXPECT_EQ(ShownPage(), 1);
}

TEST_F(ControlledSheet, BackAppliesOnlyChangesAndNeverPressesOk)
{
    HandlerSheet sheet;
    Open(sheet);
    Press(XINPUT_GAMEPAD_BACK);
    EXPECT_EQ(sheet.m_applyNowCalls, 0) << "Apply is greyed";
    sheet.m_lists.SetModified(TRUE);
    Press(XINPUT_GAMEPAD_BACK);
    EXPECT_EQ(sheet.m_applyNowCalls, 1);
    EXPECT_EQ(sheet.m_okCalls, 0);
    EXPECT_FALSE(Closed());
}

TEST_F(ControlledSheet, APressBehindAnotherWindowDoesNothingToTheSheet)
{
    TestSheet sheet;
    Open(sheet);
    const HWND other = CreateWindowExW(0, L"Static", L"Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                       0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(InFront(other));
    Hold(XINPUT_GAMEPAD_B);
    EXPECT_FALSE(Closed()) << "B behind another window";
    ASSERT_TRUE(InFront(m_hwnd));
    ASSERT_TRUE(Settle());
    EXPECT_FALSE(Closed()) << "B held since before the sheet came to the front";
    DestroyWindow(other);
    Press(XINPUT_GAMEPAD_RIGHT_SHOULDER);
    EXPECT_EQ(ShownPage(), 1) << "the sheet in front again reads the controller";

    // Nor to another program's dialog in front: neither A nor B answers it. It is ended with no
    // answer after a press of each, or when it never comes to the front.
    int readsInFront = 0;
    int reads = 0;
    g_script = [&]
    {
        const HWND box = FindWindowW(L"#32770", L"Another program");
        readsInFront += box && GetForegroundWindow() == box;
        if (box && (readsInFront > 4 || ++reads > 200))
            EndDialog(box, 0);
        return Pad(readsInFront == 2 ? XINPUT_GAMEPAD_A : readsInFront == 4 ? XINPUT_GAMEPAD_B : 0);
    };
    EXPECT_EQ(MessageBoxW(nullptr, L"Other", L"Another program", MB_OKCANCEL), 0);
    g_script = nullptr;
    EXPECT_GT(readsInFront, 4) << "the dialog ended before the sheet read a press of A and of B";
    EXPECT_FALSE(Closed());
}

// Asks in a box at each Apply and keeps the answers.
class AskingSheet : public TestSheet
{
public:
    std::vector<int> m_answers;

protected:
    void OnApplyNow() override
    {
        m_answers.push_back(MessageBoxW(L"Keep?", L"Question", MB_YESNOCANCEL | MB_DEFBUTTON2));
    }
};

TEST_F(ControlledSheet, InAMessageBoxAPressesItsDefaultButtonBClosesItAndNothingElseActs)
{
    AskingSheet sheet;
    Open(sheet);
    sheet.m_lists.SetModified(TRUE);
    // Back on the sheet asks; in the box the controller holds `inBox`, then nothing.
    for (WORD inBox : {XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_RIGHT_SHOULDER | XINPUT_GAMEPAD_START,
                       XINPUT_GAMEPAD_B | XINPUT_GAMEPAD_BACK})
    {
        const size_t answered = sheet.m_answers.size();
        bool asked = false;
        int readsInBox = 0;
        g_script = [&]
        {
            const HWND front = GetForegroundWindow();
            const bool inFront = front != m_hwnd && GetWindow(front, GW_OWNER) == m_hwnd;
            asked = asked || inFront;
            // A box the controller leaves open is ended with no answer, to fail, not hang.
            if (inFront && ++readsInBox > 200)
                EndDialog(front, 0);
            return Pad(!asked ? XINPUT_GAMEPAD_BACK : inFront ? inBox : 0);
        };
        ASSERT_TRUE(PumpUntil([&] { return sheet.m_answers.size() > answered; }));
    }
    g_script = nullptr;
    EXPECT_EQ(sheet.m_answers, (std::vector<int>{IDNO, IDCANCEL}));
    EXPECT_EQ(ShownPage(), 0) << "RB in the box changed the page";
    EXPECT_FALSE(Closed()) << "Start in the box pressed OK";
    Press(XINPUT_GAMEPAD_RIGHT_SHOULDER);
    EXPECT_EQ(ShownPage(), 1) << "the sheet reads the controller again once the box is gone";
}
} // namespace
