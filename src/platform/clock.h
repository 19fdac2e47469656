#pragma once
#include <cstdint>

// Every rule reads the time through ticksNow() and waits through delayMs(). In the game
// they are SDL's tick count and delay; tests switch to a virtual clock that only moves
// when told to (or when the game waits), so timed rules replay exactly.
uint32_t ticksNow();
// The clock itself, whatever reads or waits are being taken over.
uint32_t rawTicks();
void delayMs(uint32_t ms);

void useVirtualClock(bool on);
void setVirtualTicks(uint32_t ticks);
void advanceVirtualTicks(uint32_t ms);

// What stands between the game and the clock: a recording keeps every reading, a replay
// hands the recorded ones back and may skip the waits. Null members keep the plain clock.
struct ClockHooks {
    uint32_t (*ticks)() = nullptr;        // instead of rawTicks
    void (*delay)(uint32_t ms) = nullptr; // instead of waiting
};
void setClockHooks(const ClockHooks& hooks);
// Back to the plain clock (real or virtual, as chosen) with no hooks.
void clearClockHooks();
