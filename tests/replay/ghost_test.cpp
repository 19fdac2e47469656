// Racing a run's ghost: where it drives, what it shows, and that it changes nothing of the run.
#include "app/own_runs.h"
#include "replay/playback.h"
#include "rules/game_state.h"
#include "rules/ghost.h"
#include "rules/loop.h"
#include "rules/view_step.h"
#include "sim/car.h"
#include "state/game.h"
#include "support/stage.h"
#include <cstring>
#include <gtest/gtest.h>

// Every committed run raced against its own trail: the ghost is on the player's car in every
// frame of the run, a split of "+0.0" shows at each checkpoint and "SCORE +0" at the end, and
// the run is the recorded one in everything but the screen.
TEST(Ghost, ARunRacedAgainstItsOwnTrailDrivesOnItsCarInEveryFrame)
{
    StagedResources stage{ALL_RESOURCES};
    for (const char* name : {"lap", "crashes", "controls"}) {
        resetEveryRoom(); // everything as a fresh start leaves it
        Headless sdl(true);
        TileList tiles = loadCourse();
        Replay r;
        std::string error;
        ASSERT_TRUE(readReplayFile(sourceDir() + "/tests/replays/" + name + ".qrp", r, error));
        ASSERT_GE(chooseRunCourse(r, tiles), 0);
        FrameLoop loop;
        ASSERT_TRUE(restoreSnapshot(r.snapshot, loop));
        raceGhost(r.trail, 1);
        startPlayback(r, true);
        int onCar = 0, inRunFrames = 0, splits = 0;
        for (size_t i = 0; i < r.frames.size(); ++i) {
            if (runFrame(loop, tiles))
                break;
            const GhostPicture& g = framePicture.ghost;
            if (inRun(game)) {
                ++inRunFrames;
                onCar += g.carShown && g.x == playerCar.x && g.y == playerCar.screenY;
                if (g.split[0]) {
                    ++splits;
                    EXPECT_STREQ(g.split, "+0.0") << name << " " << i;
                }
            }
            FrameDigest played = playedDigest(), recorded = r.frames[i].digest;
            played.group[GROUP_SCREEN] = recorded.group[GROUP_SCREEN] = 0;
            ASSERT_TRUE(played == recorded)
                << name << " frame " << i << ": " << differingGroups(played, recorded);
        }
        stopPlayback();
        EXPECT_EQ(onCar, inRunFrames) << name;
        EXPECT_EQ(splits > 0, !r.trail.checkpointFrames.empty()) << name;
        EXPECT_TRUE(ghostRace.live == r.trail) << name;
        if (!r.frames.back().quit) {
            EXPECT_STREQ(framePicture.ghost.split, "SCORE +0") << name;
        }
        resetGhostRace();
    }
}

// A ghost ahead or behind: in the field it is drawn where its car was, out of it a marker says
// how far; a split says how much sooner or later this run reached the checkpoint.
TEST(Ghost, AheadOrBehindItShowsWhereAndByHowMuch)
{
    Headless sdl(true);
    struct Case {
        int ahead;     // pixels of road the ghost is ahead
        bool carShown; // in the field
        int markerMetres;
    } cases[] = {
        {0, true, 0},          {200 + 39, true, 0}, // its tail still in the field
        {200 + 40, false, 36},                      // just out above: 240 px, 36 m
        {-39, true, 0},                             // its nose still in the field
        {-40, false, -6},                           // just out below
    };
    for (const Case& c : cases) {
        resetGhostRace();
        game.gameState = STATE_PLAYING;
        playerCar.frameA = SDL_CreateRGBSurface(0, 20, 40, 16, 0, 0, 0, 0);
        RunTrail ghost;
        ghost.points = {{60, 200, 0}, {60, 200, 0}};
        ghost.points[1].progress = c.ahead + 1000;
        ghost.checkpointFrames = {1};
        raceGhost(ghost, 1);
        ghostRace.running = true;
        ghostRace.live.points = {{10, 200, 0}, {10, 200, 1000}};
        ghostRace.splitFrames = 1, ghostRace.splitHundredths = -145;
        showGhost();
        const GhostPicture& g = framePicture.ghost;
        EXPECT_EQ(g.carShown, c.carShown) << c.ahead;
        EXPECT_EQ(g.markerMetres, c.markerMetres) << c.ahead;
        if (c.carShown) {
            EXPECT_EQ(g.y, 200 - c.ahead);
        }
        EXPECT_STREQ(g.split, "-1.5");
        EXPECT_TRUE(g.splitAhead);
        SDL_FreeSurface(playerCar.frameA);
        playerCar.frameA = nullptr;
    }
    // The split of a checkpoint passed: this run's frames less the ghost's, 19 ms each.
    resetGhostRace();
    RunTrail ghost;
    ghost.points.assign(20, TrailPoint());
    ghost.checkpointFrames = {10};
    raceGhost(ghost, 1);
    game.gameState = STATE_PLAYING;
    for (int frame = 0; frame < 14; ++frame)
        stepGhost(frame == 13);
    EXPECT_EQ(ghostRace.splitHundredths, 3 * 19 / 10);
    showGhost();
    EXPECT_STREQ(framePicture.ghost.split, "+0.1");
    EXPECT_FALSE(framePicture.ghost.splitAhead);
    resetGhostRace();
    game = GameVariables();
}
