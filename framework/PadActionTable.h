#pragma once

#include <windows.h>
#include <xinput.h>

// What a controller's buttons do in a property sheet.
enum class PadAction
{
    MoveUp,
    MoveDown,
    MoveLeft,
    MoveRight,
    Activate,
    Cancel,
    PreviousPage,
    NextPage,
    Ok,
    Apply,
};
constexpr int kPadActionCount = 10;

// A set of actions, one bit per action.
using PadActions = unsigned;
constexpr PadActions PadActionBit(PadAction action)
{
    return 1u << static_cast<int>(action);
}
constexpr bool IsPadMove(PadAction action)
{
    return action <= PadAction::MoveRight;
}

// The actions whose buttons the controller holds down, in the Xbox layout: D-pad and left
// stick move, A activates, B cancels, LB and RB change the page, Start is OK, Back is Apply.
PadActions HeldPadActions(const XINPUT_GAMEPAD& pad);
