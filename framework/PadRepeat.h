#pragma once

#include "framework/PadActionTable.h"

#include <windows.h>

// Turns the actions a controller holds into the actions to perform: each action once when
// its button goes down, and a held move again and again, as a held key repeats.
class CPadRepeat
{
public:
    // A held move repeats `delayMs` after it was pressed and then every `periodMs`.
    CPadRepeat(DWORD delayMs, DWORD periodMs) : m_delayMs(delayMs), m_periodMs(periodMs) {}
    // Repeats as held keys do with the player's keyboard settings.
    static CPadRepeat WithKeyboardSettings();
    // Repeats as held keys do with the keyboard delay setting `delay` (0 for 250 ms to 3 for
    // 1 s) and the speed setting `speed` (0 for about 2.5 repeats a second to 31 for about 30).
    static CPadRepeat WithKeyboardSettings(UINT delay, DWORD speed);

    // Forgets what was held: what the next Update finds held counts as held before, not as
    // pressed. A button already down when the sheet starts reading (the press that started
    // the launcher) does nothing until it is pressed again.
    void Reset() { m_started = false; }
    // The actions to perform at `now` (GetTickCount) with `held` down.
    PadActions Update(PadActions held, DWORD now);

private:
    DWORD m_delayMs;
    DWORD m_periodMs;
    bool m_started = false;
    PadActions m_held = 0;
    // The move pressed last, while it is held; only one move repeats at a time.
    PadActions m_repeating = 0;
    DWORD m_nextRepeat = 0;
};
