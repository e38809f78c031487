#include "framework/PadActionTable.h"

#include <cstdlib>

namespace
{
struct PadBinding
{
    WORD buttons;
    PadAction action;
};

const PadBinding kBindings[] = {
    {XINPUT_GAMEPAD_DPAD_UP, PadAction::MoveUp},
    {XINPUT_GAMEPAD_DPAD_DOWN, PadAction::MoveDown},
    {XINPUT_GAMEPAD_DPAD_LEFT, PadAction::MoveLeft},
    {XINPUT_GAMEPAD_DPAD_RIGHT, PadAction::MoveRight},
    {XINPUT_GAMEPAD_A, PadAction::Activate},
    {XINPUT_GAMEPAD_B, PadAction::Cancel},
    {XINPUT_GAMEPAD_LEFT_SHOULDER, PadAction::PreviousPage},
    {XINPUT_GAMEPAD_RIGHT_SHOULDER, PadAction::NextPage},
    {XINPUT_GAMEPAD_START, PadAction::Ok},
    {XINPUT_GAMEPAD_BACK, PadAction::Apply},
};

// A stick moves the focus only when pushed at least halfway: XInput's own dead zone (about a
// quarter) lets a worn stick that rests off centre drift through the controls.
const int kStickThreshold = 16384;

// The left stick as the D-pad button of the axis it is pushed furthest along.
WORD StickAsDpad(SHORT x, SHORT y)
{
    const int across = std::abs(static_cast<int>(x));
    const int along = std::abs(static_cast<int>(y));
    if (across < kStickThreshold && along < kStickThreshold)
        return 0;
    if (along >= across)
        return y > 0 ? XINPUT_GAMEPAD_DPAD_UP : XINPUT_GAMEPAD_DPAD_DOWN;
    return x > 0 ? XINPUT_GAMEPAD_DPAD_RIGHT : XINPUT_GAMEPAD_DPAD_LEFT;
}
} // namespace

PadActions HeldPadActions(const XINPUT_GAMEPAD& pad)
{
    const WORD buttons = pad.wButtons | StickAsDpad(pad.sThumbLX, pad.sThumbLY);
    PadActions held = 0;
    for (const PadBinding& binding : kBindings)
    {
        if (buttons & binding.buttons)
            held |= PadActionBit(binding.action);
    }
    return held;
}
