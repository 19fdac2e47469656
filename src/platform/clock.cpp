#include "platform/clock.h"
#include <SDL.h>

namespace
{
bool virtualClock = false;
uint32_t virtualTicks = 0;
ClockHooks hooks;
} // namespace

uint32_t rawTicks()
{
    return virtualClock ? virtualTicks : SDL_GetTicks();
}

uint32_t ticksNow()
{
    return hooks.ticks ? hooks.ticks() : rawTicks();
}

void delayMs(uint32_t ms)
{
    if (hooks.delay)
        hooks.delay(ms);
    else if (virtualClock)
        virtualTicks += ms;
    else
        SDL_Delay(ms);
}

void useVirtualClock(bool on)
{
    virtualClock = on;
}
void setVirtualTicks(uint32_t ticks)
{
    virtualTicks = ticks;
}
void advanceVirtualTicks(uint32_t ms)
{
    virtualTicks += ms;
}
void setClockHooks(const ClockHooks& h)
{
    hooks = h;
}

void clearClockHooks()
{
    hooks = ClockHooks();
}
