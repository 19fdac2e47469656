#include "platform/stopwatch.h"
#include "platform/clock.h"

// Differences are taken in unsigned arithmetic so the 49.7-day tick wrap does not matter.

void Stopwatch::start()
{
    started = true;
    paused = false;
    startTicks = ticksNow();
}

void Stopwatch::stop()
{
    started = false;
    paused = false;
}

void Stopwatch::clear()
{
    stop();
    startTicks = 0;
    pausedTicks = 0;
}

void Stopwatch::pause()
{
    if (!started || paused)
        return;
    paused = true;
    pausedTicks = ticksNow() - startTicks;
}

void Stopwatch::resume()
{
    if (!paused)
        return;
    paused = false;
    startTicks = ticksNow() - pausedTicks;
    pausedTicks = 0;
}

int Stopwatch::elapsed() const
{
    if (!started)
        return 0;
    if (paused)
        return static_cast<int>(pausedTicks);
    return static_cast<int>(ticksNow() - startTicks);
}
