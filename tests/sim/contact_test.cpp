#include "platform/sound.h"
#include "present/assets.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/track.h"
#include <gtest/gtest.h>

namespace
{
class ContactTest : public ::testing::Test
{
  protected:
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};

    int plays(int channel, const Mix_Chunk* sample)
    {
        int n = 0;
        for (const SoundRequest& r : soundLog())
            n += r.op == SOUND_PLAY && r.channel == channel && r.sample == sample;
        return n;
    }
};
} // namespace

TEST(Contact, HitBoxesAre27AcrossAnd36Down)
{
    EXPECT_FALSE(carsTouch(100, 100, 127, 100));
    EXPECT_TRUE(carsTouch(100, 100, 126, 135));
    EXPECT_FALSE(carsTouch(100, 100, 126, 136));
    EXPECT_TRUE(carsTouch(100, 100, 74, 65));
    EXPECT_FALSE(carsTouch(100, 100, 100, 64)); // above the traffic car by 36: clear
    EXPECT_FALSE(carsTouch(100, 100, 73, 100));
}

TEST_F(ContactTest, ACrashStartsOnlyOnceAndOnlyWhilePlaying)
{
    game.gameState = STATE_ATTRACT;
    EXPECT_FALSE(startCrash(playerCar, game.gameState));
    EXPECT_EQ(playerCar.state, CAR_DRIVING);
    EXPECT_FALSE(startCrash(trafficCar, STATE_PLAYING));
    EXPECT_TRUE(startCrash(playerCar, STATE_PLAYING));
    EXPECT_EQ(playerCar.state, CAR_CRASHED);
    EXPECT_FALSE(startCrash(playerCar, STATE_PLAYING));
    EXPECT_EQ(plays(1, playerCar.crashSound), 1); // on the engine's channel
}

TEST_F(ContactTest, CheckpointsEarnTimeWhilePlayingOnly)
{
    game.gameState = STATE_PLAYING;
    offerMarker(10, 97);
    offerMarker(20, 97);
    EXPECT_EQ(processMarkers(), 60);
    EXPECT_EQ(plays(5, checkpointSound), 2);
    EXPECT_TRUE(trackView.trackMarkers[0].done);
    EXPECT_EQ(processMarkers(), 0);
    game.gameState = STATE_TIME_UP;
    offerMarker(30, 97);
    EXPECT_EQ(processMarkers(), 0);
    EXPECT_TRUE(trackView.trackMarkers[2].done);
    EXPECT_EQ(plays(5, checkpointSound), 2);
}

TEST_F(ContactTest, EveryCheckpointShowsItsMessageInFull)
{
    game.gameState = STATE_PLAYING;
    offerMarker(10, 97);
    processMarkers();
    int shown = 0;
    for (int frame = 0; frame < 60; ++frame) {
        ageCheckpointMessage();
        shown += checkpointMessageShowing();
    }
    EXPECT_EQ(shown, 60);
    offerMarker(20, 97); // a second one while the first message runs: starts it afresh
    processMarkers();
    shown = 0;
    for (int frame = 0; frame < 150; ++frame) {
        ageCheckpointMessage();
        shown += checkpointMessageShowing();
    }
    EXPECT_EQ(shown, 99);
    EXPECT_EQ(markerCounters.checkpointCount, 0);
}

TEST_F(ContactTest, ASignShowsForAHundredFramesWithOneSignal)
{
    game.gameState = STATE_PLAYING;
    offerMarker(40, 99);
    int frames = 0;
    while (!trackView.trackMarkers[0].done && frames < 500) {
        processMarkers();
        ++frames;
    }
    EXPECT_EQ(frames, 100);
    EXPECT_EQ(plays(-1, signalSound), 1);
    EXPECT_FALSE(markerCounters.warnFunnelSounded);
    EXPECT_EQ(markerCounters.warnFunnelFrames, 0);
}

TEST_F(ContactTest, TwoSignsOfOneKindShareTheirCounter)
{
    game.gameState = STATE_PLAYING;
    offerMarker(40, 98);
    offerMarker(48, 98);
    int frames = 0;
    while (!trackView.trackMarkers[1].done && frames < 500) {
        processMarkers();
        ++frames;
    }
    EXPECT_EQ(frames, 50); // both count; the later slot sees it pass 99 first
    EXPECT_FALSE(trackView.trackMarkers[0].done);
    while (!trackView.trackMarkers[0].done && frames < 500) {
        processMarkers();
        ++frames;
    }
    EXPECT_EQ(frames, 150);
    EXPECT_EQ(plays(-1, signalSound), 2);
}
