#include "rules/loop.h"
#include "platform/clock.h"
#include "present/render.h"
#include "rules/ghost.h"
#include "rules/scoring.h"
#include "rules/states.h"
#include "rules/view_step.h"
#include "state/game.h"
#include <cmath>

namespace
{
FrameHooks hooks;
}

void setFrameHooks(const FrameHooks& h)
{
    hooks = h;
}
void clearFrameHooks()
{
    hooks = FrameHooks();
}

void startFrameLoop(FrameLoop& loop)
{
    loop.fpsIntervalWatch.start();
    loop.runWatch.start();
    loop.framesCounted = 0;
    loop.fpsEstimate = 0.0f;
}

void visitFrameLoop(StateVisitor& v, FrameLoop& loop)
{
    v(GROUP_NONE, loop.frameWatch), v(GROUP_NONE, loop.fpsIntervalWatch),
        v(GROUP_NONE, loop.runWatch);
    v(GROUP_NONE, loop.framesCounted), v(GROUP_NONE, loop.fpsEstimate);
    v.require(loop.framesCounted >= 0 && loop.framesCounted <= SESSION_FRAMES &&
                  loop.fpsEstimate >= 0.0f && loop.fpsEstimate <= 100000.0f,
              "the frame count");
}

int frameSleepMs(int elapsedMs, bool capOn)
{
    if (!capOn || elapsedMs > 18)
        return 0;
    return 19 - (elapsedMs < 0 ? 0 : elapsedMs);
}

bool runFrame(FrameLoop& loop, TileList& tiles)
{
    if (hooks.begins)
        hooks.begins(loop);
    loop.frameWatch.start();
    if (updateFrame(tiles)) {
        if (hooks.ends)
            hooks.ends(loop, true);
        return true;
    }
    ++loop.framesCounted;
    if (loop.fpsIntervalWatch.elapsed() > 500) {
        const int runMs = loop.runWatch.elapsed();
        if (runMs > 0) {
            const float fps = static_cast<float>(loop.framesCounted) / (runMs / 1000.0f);
            if (std::isfinite(fps))
                loop.fpsEstimate = fps;
        }
        loop.fpsIntervalWatch.start();
    }
    const int earned = advanceView(tiles);
    addCheckpointTime(earned);
    stepGhost(earned > 0);
    showGhost();
    drawFrame(tiles, currentView(), loop.fpsEstimate);
    const int sleep = frameSleepMs(loop.frameWatch.elapsed(), game.frameCapOn);
    if (hooks.ends)
        hooks.ends(loop, false);
    if (sleep > 0)
        delayMs(static_cast<uint32_t>(sleep));
    return false;
}
