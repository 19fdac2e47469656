#include "shell/clock.h"
#include "shell/replay.h"
#include <SDL.h>

namespace {
bool virtualClock = false;
uint32_t virtualTicks = 0;
}

uint32_t rawTicks() { return virtualClock ? virtualTicks : SDL_GetTicks(); }

// A recording keeps every reading; a replay hands the recorded ones back.
uint32_t ticksNow() { return tapTicks(rawTicks()); }

void delayMs(uint32_t ms)
{
    if (replaySkipsWaits())
        return;
    if (virtualClock)
        virtualTicks += ms;
    else
        SDL_Delay(ms);
}

void useVirtualClock(bool on) { virtualClock = on; }
void setVirtualTicks(uint32_t ticks) { virtualTicks = ticks; }
void advanceVirtualTicks(uint32_t ms) { virtualTicks += ms; }
