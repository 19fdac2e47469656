#include "platform/clock.h"
#include "platform/sound.h"
#include "present/assets.h"
#include "replay/snapshot.h"
#include "rules/game_state.h"
#include "rules/input.h"
#include "rules/scoring.h"
#include "rules/states.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "sim/player.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/track.h"
#include <gtest/gtest.h>

namespace
{

int countRequests(SoundOp op, int channel, const Mix_Chunk* sample = nullptr)
{
    int n = 0;
    for (const SoundRequest& r : soundLog())
        if (r.op == op && r.channel == channel && (!sample || r.sample == sample))
            ++n;
    return n;
}

class StatesTest : public ::testing::Test
{
  protected:
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};
    TileList tiles;

    void SetUp() override
    {
        std::vector<int> straight = {1, 3, 2, 2, 2, 2, 2, 4};
        tiles = makeTiles({straight, straight, straight, straight, straight, straight, straight,
                           straight, straight, straight, straight, straight});
    }

    // The first attract frame, then a start press: the run is under way.
    void startRun()
    {
        updateFrame(tiles);
        tapKey(KEY_RETURN);
        updateFrame(tiles);
        ASSERT_EQ(game.gameState, STATE_PLAYING);
    }

    // Keeps the traffic car far above the screen while the player is crashed, or parks it
    // where it cannot reach the player within a frame or two.
    void parkTraffic() { trafficCar.y = -300; }
};

} // namespace

TEST_F(StatesTest, FirstAttractFramePreparesOnce)
{
    setUpRun(false); // the traffic car's start: x 80, y 240, drifting right, top speed 15
    EXPECT_EQ(std::vector<int>({trafficCar.x, trafficCar.y, trafficCar.drift, trafficCar.maxSpeed,
                                trafficCar.trafficSpeed}),
              std::vector<int>({80, 240, 1, 15, -1}));
    game.runArmed = false;
    clearSoundLog();
    updateFrame(tiles);
    EXPECT_EQ(game.timeLimit, 60);
    EXPECT_FALSE(game.gameClock.isStarted());
    EXPECT_EQ(trackView.scrollY, 0);
    EXPECT_TRUE(game.runArmed);
    EXPECT_EQ(countRequests(SOUND_HALT, -1), 1);
    for (int i = 0; i < 5; ++i)
        updateFrame(tiles);
    EXPECT_EQ(countRequests(SOUND_HALT, -1), 1);
}

TEST_F(StatesTest, StartPressBeginsARun)
{
    updateFrame(tiles);
    clearSoundLog();
    markerCounters.warnOpenFrames = markerCounters.warnFunnelFrames =
        40; // a sign of the last run still counting
    markerCounters.warnOpenSounded = markerCounters.warnFunnelSounded = true;
    const uint32_t before = ticksNow();
    tapKey(KEY_RETURN);
    updateFrame(tiles);
    EXPECT_EQ(game.gameState, STATE_PLAYING);
    EXPECT_EQ(ticksNow() - before, 800u); // the coin drops before the engine starts
    ASSERT_GE(soundLog().size(), 2u);
    EXPECT_EQ(soundLog()[0].op, SOUND_PLAY);
    EXPECT_EQ(soundLog()[0].channel, -1);
    EXPECT_EQ(soundLog()[0].sample, coinSound);
    EXPECT_EQ(soundLog()[1].channel, 1);
    EXPECT_EQ(soundLog()[1].sample, idleEngineSound);
    EXPECT_EQ(soundLog()[1].loops, -1);
    EXPECT_EQ(playerCar.x, 227);
    EXPECT_TRUE(game.gameClock.isStarted());
    EXPECT_EQ(game.gameClock.elapsed(), 0);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.timeLimit, 60);
    EXPECT_TRUE(markerCounters.warnOpenFrames == 0 && markerCounters.warnFunnelFrames == 0 &&
                !markerCounters.warnOpenSounded && !markerCounters.warnFunnelSounded);
}

TEST_F(StatesTest, AStartPressQueuedBeforeTheFirstFrameGetsAFullRun)
{
    tapKey(KEY_RETURN); // pressed while the banner faded out
    updateFrame(tiles);
    ASSERT_EQ(game.gameState, STATE_PLAYING);
    EXPECT_EQ(game.timeLimit, 60);
    updateFrame(tiles);
    EXPECT_EQ(game.timeLeft, 60);
    EXPECT_EQ(game.gameState, STATE_PLAYING);
}

TEST_F(StatesTest, TimeRunsOutAtExactlySixtySeconds)
{
    startRun();
    const uint32_t started = ticksNow() - static_cast<uint32_t>(game.gameClock.elapsed());
    setVirtualTicks(started + 59999);
    parkTraffic();
    updateFrame(tiles);
    EXPECT_EQ(game.timeLeft, 1);
    EXPECT_EQ(game.gameState, STATE_PLAYING);
    setVirtualTicks(started + 60000);
    updateFrame(tiles);
    EXPECT_EQ(game.timeLeft, 0);
    EXPECT_EQ(game.gameState, STATE_TIME_UP);
}

TEST_F(StatesTest, TimeUpRollsToAStopThenReturnsToAttract)
{
    startRun();
    game.gameState = STATE_TIME_UP;
    setHighScore(345);
    game.masterVolume = 66;
    playerCar.speed = -3;
    inputLatches.keyHeld[KEY_UP] = true; // held, but the time is up: no throttle
    trackView.scrollY = 480;
    clearSoundLog();
    tapKey(KEY_RETURN); // ignored after the time has run out
    int frames = 0;
    while (game.gameState == STATE_TIME_UP && frames < 200) {
        parkTraffic();
        updateFrame(tiles);
        ++frames;
    }
    EXPECT_EQ(game.gameState, STATE_ATTRACT);
    // The run's high score is on disk at once, not only at shutdown.
    EXPECT_EQ(stage.read("config.dat"), std::string("\x59\x01\0\0\x42\0\0\0", 8));
    EXPECT_GT(frames, 10);
    EXPECT_EQ(countRequests(SOUND_PLAY, -1, coinSound), 0);
    EXPECT_EQ(countRequests(SOUND_HALT, -1), 1);
    EXPECT_EQ(game.timeLimit, 60);
    EXPECT_EQ(trackView.scrollY, 0);
    EXPECT_FALSE(game.gameClock.isStarted());
}

TEST_F(StatesTest, ContactPenaltyFallsOnce1500msAfterTheLastContact)
{
    startRun();
    game.score = 150;
    game.highScore = 150;
    trackView.scrollY = 400;
    game.lastScoredMark = 10;
    // Three frames of contact, 19 ms apart.
    uint32_t lastContact = 0;
    for (int i = 0; i < 3; ++i) {
        trafficCar.x = playerCar.x;
        trafficCar.y = playerCar.screenY;
        advanceVirtualTicks(19);
        updateFrame(tiles);
        ASSERT_TRUE(game.penaltyWatch.isStarted());
        lastContact = ticksNow();
    }
    EXPECT_EQ(playerCar.state, CAR_CRASHED);
    // No distance points while the penalty is pending, even on a new mark.
    trackView.scrollY = 520;
    playerCar.speed = -5;
    parkTraffic();
    setVirtualTicks(lastContact + 1499);
    updateFrame(tiles);
    EXPECT_EQ(game.score, 150);
    parkTraffic();
    setVirtualTicks(lastContact + 1500);
    updateFrame(tiles);
    ASSERT_NE(playerCar.speed, 0);
    EXPECT_EQ(game.score, 52);     // 150 - 100, then the new mark's 2 points
    EXPECT_EQ(game.highScore, 52); // it was the high score, so it fell with it
    EXPECT_FALSE(game.penaltyWatch.isStarted());
    const int after = game.score;
    parkTraffic();
    advanceVirtualTicks(3000);
    updateFrame(tiles);
    EXPECT_GE(game.score, after); // never a second penalty for the same contact
}

TEST_F(StatesTest, PenaltyNeverTakesASmallScoreBelowZero)
{
    startRun();
    for (int start : {99, 100}) {
        game.score = start;
        game.highScore = start;
        trafficCar.x = playerCar.x;
        trafficCar.y = playerCar.screenY;
        playerCar.speed = 0;
        updateFrame(tiles);
        parkTraffic();
        advanceVirtualTicks(1500);
        playerCar.speed = 0;
        updateFrame(tiles);
        EXPECT_EQ(game.score, start == 99 ? 99 : 0);
        EXPECT_EQ(game.highScore, start == 99 ? 99 : 0);
        playerCar.state = CAR_DRIVING;
    }
}

TEST_F(StatesTest, DistancePointsOnlyWhileMovingAndOncePerMark)
{
    startRun();
    parkTraffic();
    playerCar.speed = 0;
    trackView.scrollY = 400;
    updateFrame(tiles);
    EXPECT_EQ(game.score, 0); // standing still earns nothing
    playerCar.speed = -10;
    inputLatches.keyHeld[KEY_UP] = true;
    parkTraffic();
    updateFrame(tiles);
    EXPECT_EQ(game.score, 2);
    EXPECT_EQ(game.distanceMark, 10);
    parkTraffic();
    updateFrame(tiles);
    EXPECT_EQ(game.score, 2); // same mark, no more points
    trackView.scrollY = 440;
    parkTraffic();
    updateFrame(tiles);
    EXPECT_EQ(game.score, 4);
    trackView.scrollY = 20; // mark 0 gives nothing
    parkTraffic();
    updateFrame(tiles);
    EXPECT_EQ(game.score, 4);
    EXPECT_EQ(game.highScore, 4);
}

TEST_F(StatesTest, PauseFreezesTheClockAndResumeRestoresSpeedAndSound)
{
    startRun();
    parkTraffic();
    advanceVirtualTicks(5000);
    updateFrame(tiles);
    EXPECT_EQ(game.timeLeft, 55);
    playerCar.speed = -12;
    clearSoundLog();
    tapKey(KEY_P);
    updateFrame(tiles);
    EXPECT_EQ(game.gameState, STATE_PAUSED);
    EXPECT_EQ(countRequests(SOUND_PAUSE, -1), 1); // silenced in the very frame
    updateFrame(tiles);                           // the first paused frame stops the clock
    for (int i = 0; i < 10; ++i) {
        advanceVirtualTicks(1000);
        updateFrame(tiles);
    }
    EXPECT_EQ(game.gameClock.elapsed(), 5000);
    EXPECT_EQ(game.timeLeft, 55);
    const int speedBefore = playerCar.speed;
    tapKey(KEY_P);
    updateFrame(tiles);
    EXPECT_EQ(game.gameState, STATE_PLAYING);
    EXPECT_EQ(countRequests(SOUND_PAUSE, -1), 2); // the resume press keeps it quiet a frame
    EXPECT_EQ(playerCar.speed, 0);
    EXPECT_EQ(game.savedPlayerSpeed, speedBefore);
    clearSoundLog();
    parkTraffic();
    updateFrame(tiles);
    EXPECT_EQ(countRequests(SOUND_RESUME, -1), 1);
    EXPECT_LE(playerCar.speed, speedBefore + 2);
    EXPECT_FALSE(game.gameClock.isPaused());
    EXPECT_EQ(game.timeLeft, 55);
}

TEST_F(StatesTest, TwoStartPressesInOneFrameStillResumeTheNextFrame)
{
    startRun();
    parkTraffic();
    playerCar.speed = -9;
    tapKey(KEY_RETURN);
    tapKey(KEY_RETURN);
    updateFrame(tiles);
    EXPECT_EQ(game.gameState, STATE_PLAYING);
    clearSoundLog();
    parkTraffic();
    updateFrame(tiles);
    EXPECT_EQ(countRequests(SOUND_RESUME, -1), 1);
    EXPECT_LE(playerCar.speed, -7);
    EXPECT_FALSE(game.gameClock.isPaused());
}

// One reset puts every room back as it started, whatever a run (with a crash, a checkpoint,
// the overlay and a pause) left behind.
TEST_F(StatesTest, OneResetRestoresEveryRoom)
{
    FrameLoop fresh, loop;
    std::vector<uint8_t> before, after;
    resetEveryRoom();
    saveSnapshot(fresh, before);
    loadAssets();
    tiles = loadCourse();
    ::startRun(loop, tiles);
    pushKey(KEY_UP, true), pushKey(KEY_LEFT, true);
    for (int frame = 0; frame < 400; ++frame) {
        if (frame == 100 || frame == 390)
            tapKey(KEY_P);
        if (frame == 200)
            tapKey(KEY_F);
        runFrame(loop, tiles);
    }
    saveSnapshot(fresh, after);
    ASSERT_NE(before, after);
    resetEveryRoom();
    saveSnapshot(fresh, after);
    EXPECT_EQ(before, after);
}
