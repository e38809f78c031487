// What a controller's state does in the sheet, read through CGamepad from a stand-in for
// XInputGetState: one table from pad states to actions, how held buttons repeat, and a test
// sheet worked with the stand-in.
#include "framework/Gamepad.h"
#include "framework/PadActionTable.h"
#include "framework/PadRepeat.h"
#include "tests/framework/TestSheet.h"
#include "tools/driver/WaitUntil.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
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
        m_hwnd = sheet.Create();
        ASSERT_NE(m_hwnd, nullptr);
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
