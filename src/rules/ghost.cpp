#include "rules/ghost.h"
#include "platform/window.h"
#include "rules/view_step.h"
#include "save/preferences.h"
#include "sim/car.h"
#include "state/game.h"
#include "track/track.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>

GhostRace ghostRace;

namespace
{
constexpr int FRAME_MS = 19;
constexpr int SPLIT_FRAMES = 2000 / FRAME_MS;
} // namespace

bool RunTrail::operator==(const RunTrail& o) const
{
    if (points.size() != o.points.size() || checkpointFrames != o.checkpointFrames ||
        finalScore != o.finalScore)
        return false;
    for (size_t i = 0; i < points.size(); ++i)
        if (points[i].x != o.points[i].x || points[i].screenY != o.points[i].screenY ||
            points[i].progress != o.points[i].progress)
            return false;
    return true;
}

const char* trailFault(const RunTrail& t)
{
    int32_t before = 0;
    for (const TrailPoint& p : t.points) {
        if (p.x < TRAIL_MIN_X || p.x > TRAIL_MAX_X || p.screenY < TRAIL_MIN_Y ||
            p.screenY > TRAIL_MAX_Y)
            return "its car leaves the screen";
        if (std::abs(p.progress - before) > TRAIL_MAX_STEP)
            return "its car jumps along the road";
        before = p.progress;
    }
    if (!t.points.empty() && t.points[0].progress != 0)
        return "its car does not start at the start";
    if (t.checkpointFrames.size() > TRAIL_MAX_CHECKPOINTS)
        return "it passes too many checkpoints";
    for (size_t i = 0; i < t.checkpointFrames.size(); ++i)
        if (t.checkpointFrames[i] >= t.points.size() ||
            (i > 0 && t.checkpointFrames[i] <= t.checkpointFrames[i - 1]))
            return "its checkpoints are out of order";
    if (t.finalScore < 0 || t.finalScore > 2 * SESSION_FRAMES)
        return "its score is out of range";
    return "";
}

void raceGhost(const RunTrail& trail, uint32_t id)
{
    ghostRace.ghost = trail;
    ghostRace.ghostId = trail.points.empty() ? 0 : id;
}

void switchGhost()
{
    ghostRace.switchedOn = !ghostRace.switchedOn;
    if (!ghostRace.switchedOn)
        raceGhost(RunTrail(), 0);
    preferences.ghostOn = ghostRace.switchedOn;
    savePreferences();
}

void resetGhostRace()
{
    ghostRace = GhostRace();
}

void stepGhost(bool checkpointPassed)
{
    GhostRace& r = ghostRace;
    if (!inRun(game)) {
        if (r.running) {
            r.running = false;
            r.live.finalScore = game.score;
            r.scoreShown = !r.ghost.points.empty();
        }
        r.splitFrames = 0;
        return;
    }
    if (!r.running) {
        r.running = true;
        r.live = RunTrail();
        r.live.points.reserve(1 << 14);
        r.scoreShown = false;
        r.splitFrames = 0;
    }
    if (game.gameState == STATE_PAUSED)
        return;
    // The road scrolls by the car's speed (less than 0 forward), whatever the course's length.
    const int forward = -playerCar.speed;
    const int32_t progress = r.live.points.empty() ? 0 : r.live.points.back().progress + forward;
    r.live.points.push_back(
        {static_cast<int16_t>(playerCar.x), static_cast<int16_t>(playerCar.screenY), progress});
    r.live.finalScore = game.score;
    if (r.splitFrames > 0)
        --r.splitFrames;
    if (checkpointPassed) {
        const uint32_t frame = static_cast<uint32_t>(r.live.points.size() - 1);
        const size_t passed = r.live.checkpointFrames.size();
        r.live.checkpointFrames.push_back(frame);
        if (passed < r.ghost.checkpointFrames.size()) {
            const int frames =
                static_cast<int>(frame) - static_cast<int>(r.ghost.checkpointFrames[passed]);
            r.splitHundredths = frames * FRAME_MS / 10;
            r.splitFrames = SPLIT_FRAMES;
        }
    }
}

void showGhost()
{
    GhostPicture& v = framePicture.ghost;
    v = GhostPicture();
    const GhostRace& r = ghostRace;
    if (game.gameState == STATE_ATTRACT)
        v.attractLine = !r.switchedOn            ? "GHOST OFF (G or X)"
                        : r.ghost.points.empty() ? "GHOST ON, none yet (G or X)"
                                                 : "GHOST ON (G or X)";
    if (r.ghost.points.empty())
        return;
    if (r.scoreShown) {
        const int ahead = r.live.finalScore - r.ghost.finalScore;
        std::snprintf(v.split, sizeof v.split, "SCORE %+d", ahead);
        v.splitAhead = ahead > 0;
        return;
    }
    const size_t n = r.live.points.size();
    if (!r.running || n == 0 || n > r.ghost.points.size())
        return; // before the run, or after the ghost's ended
    const TrailPoint& ghost = r.ghost.points[n - 1];
    const TrailPoint& me = r.live.points[n - 1];
    const int height = playerCar.frameA ? playerCar.frameA->h : 0;
    const int y = ghost.screenY - (ghost.progress - me.progress);
    if (y + height <= 0 || y >= SCREEN_HEIGHT) {
        // A car length is some 4.5 m of road.
        const int metres = std::max(1, std::abs(ghost.progress - me.progress) * 3 / 20);
        v.markerMetres = y < 0 ? metres : -metres;
        v.x = ghost.x;
    } else {
        v.carShown = true;
        v.x = ghost.x, v.y = y;
    }
    if (r.splitFrames > 0) {
        const int h = r.splitHundredths, tenths = (std::abs(h) + 5) / 10;
        std::snprintf(v.split, sizeof v.split, "%c%d.%d", h < 0 ? '-' : '+', tenths / 10,
                      tenths % 10);
        v.splitAhead = h < 0;
    }
}
