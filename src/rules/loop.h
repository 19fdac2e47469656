#pragma once
#include "platform/state_visitor.h"
#include "platform/stopwatch.h"
#include "track/level.h"
#include <cstdint>

// Everything the frame loop keeps between frames.
struct FrameLoop {
    Stopwatch frameWatch;
    Stopwatch fpsIntervalWatch;
    Stopwatch runWatch;
    int64_t framesCounted = 0;
    float fpsEstimate = 0.0f;
};

// Where a layer above follows the frames (a recording keeps each frame's inputs and
// digest): called as a frame begins, and once its work is done, before the pacing sleep
// (with `quit` set for the frame in which the player quit, which is neither counted nor
// drawn). Null members do nothing.
struct FrameHooks {
    void (*begins)(const FrameLoop& loop) = nullptr;
    void (*ends)(const FrameLoop& loop, bool quit) = nullptr;
};
void setFrameHooks(const FrameHooks& hooks);
void clearFrameHooks();

void startFrameLoop(FrameLoop& loop);
void visitFrameLoop(StateVisitor& v, FrameLoop& loop);
// One pass of the frame loop. True when the player asked to quit (the frame is then
// neither counted nor drawn).
bool runFrame(FrameLoop& loop, TileList& tiles);
// How long to sleep after a frame whose work took `elapsedMs`.
int frameSleepMs(int elapsedMs, bool capOn);
