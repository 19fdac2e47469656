#pragma once
#include <cstdint>

// Every rule reads the time through ticksNow() and waits through delayMs(). In the game
// they are SDL's tick count and delay; tests switch to a virtual clock that only moves
// when told to (or when the game waits), so timed rules replay exactly.
uint32_t ticksNow();
// The clock itself, untouched by recording or replay.
uint32_t rawTicks();
void delayMs(uint32_t ms);

void useVirtualClock(bool on);
void setVirtualTicks(uint32_t ticks);
void advanceVirtualTicks(uint32_t ms);
