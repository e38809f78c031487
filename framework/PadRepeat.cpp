#include "framework/PadRepeat.h"

CPadRepeat CPadRepeat::WithKeyboardSettings()
{
    UINT delay = 1;
    DWORD speed = 31;
    SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
    SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    return WithKeyboardSettings(delay, speed);
}

CPadRepeat CPadRepeat::WithKeyboardSettings(UINT delay, DWORD speed)
{
    const DWORD perSecondTimes10 = 25 + (speed > 31 ? 31 : speed) * 275 / 31;
    return CPadRepeat((delay > 3 ? 3 : delay) * 250 + 250, 10000 / perSecondTimes10);
}

PadActions CPadRepeat::Update(PadActions held, DWORD now)
{
    const PadActions pressed = m_started ? held & ~m_held : 0;
    m_started = true;
    m_held = held;

    PadActions perform = pressed;
    for (int index = 0; index <= static_cast<int>(PadAction::MoveRight); ++index)
    {
        const PadActions move = PadActionBit(static_cast<PadAction>(index));
        if (pressed & move)
        {
            m_repeating = move;
            m_nextRepeat = now + m_delayMs;
        }
    }
    if (!(held & m_repeating))
        m_repeating = 0;
    else if (!(pressed & m_repeating) && static_cast<LONG>(now - m_nextRepeat) >= 0)
    {
        perform |= m_repeating;
        m_nextRepeat = now + m_periodMs;
    }
    return perform;
}
