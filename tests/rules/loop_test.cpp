#include "app/session.h"
#include "platform/clock.h"
#include "present/intro.h"
#include "rules/loop.h"
#include "sim/player.h"
#include "state/game.h"
#include "support/stage.h"
#include <gtest/gtest.h>

TEST(FramePacing, SleepsOutTheRestOfA19msFrame)
{
    EXPECT_EQ(frameSleepMs(0, true), 19);
    EXPECT_EQ(frameSleepMs(18, true), 1);
    EXPECT_EQ(frameSleepMs(19, true), 0);
    EXPECT_EQ(frameSleepMs(40, true), 0);
    EXPECT_EQ(frameSleepMs(5, false), 0);
}

TEST(FrameLoop, EstimatesFramesPerSecondEveryHalfSecond)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};
    TileList tiles = loadCourse();
    FrameLoop loop;
    startFrameLoop(loop);
    int frames = 0;
    while (loop.fpsIntervalWatch.elapsed() <= 500) {
        EXPECT_EQ(loop.fpsEstimate, 0.0f);
        ASSERT_FALSE(runFrame(loop, tiles));
        ++frames;
    }
    // Each frame is paced to 19 ms on the virtual clock.
    EXPECT_EQ(frames, 27);
    ASSERT_FALSE(runFrame(loop, tiles));
    EXPECT_NEAR(loop.fpsEstimate, 28 / 0.513f, 0.01f); // 28 frames in 513 ms
    EXPECT_EQ(loop.framesCounted, 28);
}

TEST(FrameLoop, CapOffNeverSleepsAndQuitIsNotCounted)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};
    TileList tiles = loadCourse();
    FrameLoop loop;
    startFrameLoop(loop);
    game.frameCapOn = false;
    const uint32_t before = ticksNow();
    for (int i = 0; i < 10; ++i)
        ASSERT_FALSE(runFrame(loop, tiles));
    EXPECT_EQ(ticksNow(), before);
    tapKey(KEY_ESCAPE);
    EXPECT_TRUE(runFrame(loop, tiles));
    EXPECT_EQ(loop.framesCounted, 10);
}
