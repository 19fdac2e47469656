#include "replay/playback.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/sound.h"
#include "rules/input.h"
#include "rules/loop.h"
#include <SDL.h>
#include <cstdlib>

namespace
{
const Replay* playing = nullptr;
size_t frameIndex = 0, eventIndex = 0, tickIndex = 0;
uint32_t lastTick = 0;
FrameDigest digest;

bool recordedEvent(SDL_Event& event)
{
    const ReplayFrame& f = playing->frames[frameIndex];
    if (eventIndex >= f.eventCount)
        return false;
    const ReplayEvent& e = playing->events[f.firstEvent + eventIndex++];
    event = SDL_Event();
    event.type = e.type;
    if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP)
        setKeySymbol(event, e.code);
    else
        event.jbutton.button = static_cast<Uint8>(e.code);
    return true;
}

uint32_t recordedReading()
{
    const ReplayFrame& f = playing->frames[frameIndex];
    if (tickIndex < f.tickCount)
        lastTick = playing->ticks[f.firstTick + tickIndex++];
    return lastTick; // read more often than recorded: the digests will say so
}

void noWait(uint32_t) {}

void frameBegins(const FrameLoop&)
{
    eventIndex = tickIndex = 0;
}

void frameEnds(const FrameLoop&, bool)
{
    digest = digestFrame(soundLog());
    clearSoundLog();
    if (frameIndex + 1 < playing->frames.size())
        ++frameIndex;
}
} // namespace

void startPlayback(const Replay& replay, bool skipWaits)
{
    playing = &replay;
    frameIndex = eventIndex = tickIndex = 0;
    lastTick = 0;
    setSoundLogging(true);
    std::srand(replay.seed);
    setClockHooks({recordedReading, skipWaits ? noWait : nullptr});
    setEventSource(recordedEvent);
    setFrameHooks({frameBegins, frameEnds});
}

void stopPlayback()
{
    setSoundLogging(false);
    clearClockHooks();
    setEventSource(nullptr);
    clearFrameHooks();
    playing = nullptr;
}

const FrameDigest& playedDigest()
{
    return digest;
}
