#include "platform/clock.h"
#include "platform/sound.h"
#include "sim/car.h"
#include "sim/player.h"
#include "state/game.h"
#include "support/stage.h"
#include <algorithm>
#include <gtest/gtest.h>

namespace
{
// The player on a plain road, driven frame by frame through its control and motion steps
// with the held-key table, headless, with the sound module's log.
class PlayerTest : public ::testing::Test
{
  protected:
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};
    TileList tiles;
    bool keys[KEY_SLOTS] = {};
    bool buttons[BUTTON_SLOTS] = {};

    void SetUp() override
    {
        const std::vector<int> road = {1, 3, 2, 2, 2, 2, 4, 1};
        tiles = makeTiles({road, road, road, road, road, road, road, road});
        game.gameState = STATE_PLAYING;
        playerCar.x = 120;
    }

    void frame(int trafficY = 500)
    {
        steerPlayer(playerCar, keys, buttons);
        movePlayer(playerCar, tiles, trafficY);
    }

    int plays(int channel, const Mix_Chunk* sample = nullptr)
    {
        int n = 0;
        for (const SoundRequest& r : soundLog())
            n += r.op == SOUND_PLAY && r.channel == channel && (!sample || r.sample == sample);
        return n;
    }

    // The player's screen rows (189..201) lie in track rows 4 and 5 while scrollY is 0.
    void setPlayerRows(std::vector<int> codes)
    {
        for (int row : {4, 5})
            for (int c = 0; c < 8; ++c)
                tiles[row * 8 + c].code = codes[c];
    }
};
} // namespace

TEST_F(PlayerTest, ThrottleEverySecondFrameUpToTheLimit)
{
    keys[KEY_UP] = true;
    for (int i = 0; i < 10; ++i)
        frame();
    EXPECT_EQ(playerCar.speed, -5);
    EXPECT_EQ(playerCar.screenY, 195); // creeps up the screen while accelerating
    for (int i = 0; i < 60; ++i)
        frame();
    EXPECT_EQ(playerCar.speed, -20);
    EXPECT_EQ(playerCar.screenY, PLAYER_MIN_ROW);
    keys[KEY_UP] = false; // released, the car sinks back to its lowest row, 201
    for (int i = 0; i < 40; ++i)
        frame();
    EXPECT_EQ(playerCar.screenY, PLAYER_MAX_ROW);
    // Over the limit: pulled back one per frame, not cut.
    keys[KEY_UP] = false;
    playerCar.speed = -23;
    steerPlayer(playerCar, keys, buttons);
    EXPECT_EQ(playerCar.speed, -22);
}

TEST_F(PlayerTest, CoastingOnRoadAndDragOffIt)
{
    playerCar.speed = -20;
    for (int i = 0; i < 30; ++i)
        frame();
    EXPECT_EQ(playerCar.speed, -18); // one every 15 frames
    playerCar.x = 5;                 // on the grass
    playerCar.speed = -20;
    frame();
    EXPECT_EQ(playerCar.speed, -18);
    for (int i = 0; i < 20; ++i)
        frame();
    EXPECT_EQ(playerCar.speed, 0); // dragged to a standstill, never reversing
    keys[KEY_DOWN] = true;
    for (int i = 0; i < 6; ++i)
        frame();
    EXPECT_EQ(playerCar.speed, 0);
    // Crashed, the car loses 3 every 15 frames; on gravel the steering recentres every 8th.
    keys[KEY_DOWN] = false;
    resetPlayerState();
    playerCar.state = CAR_CRASHED;
    playerCar.speed = -20;
    for (int i = 0; i < 15; ++i)
        steerPlayer(playerCar, keys, buttons);
    EXPECT_EQ(playerCar.speed, -17);
    playerCar.state = CAR_ON_GRAVEL;
    playerCar.lateralSpeed = 3;
    for (int i = 0; i < 7; ++i)
        steerPlayer(playerCar, keys, buttons);
    EXPECT_EQ(playerCar.lateralSpeed, 3);
    steerPlayer(playerCar, keys, buttons);
    EXPECT_EQ(playerCar.lateralSpeed, 2);
    // A step larger than what is left stops at zero, from either side.
    playerCar.state = CAR_DRIVING;
    playerCar.speedStep = 3;
    for (int lateral : {-1, 1}) {
        playerCar.lateralSpeed = lateral;
        steerPlayer(playerCar, keys, buttons);
        EXPECT_EQ(playerCar.lateralSpeed, 0) << lateral;
    }
}

TEST_F(PlayerTest, DiagonalControls)
{
    keys[KEY_UP] = keys[KEY_LEFT] = true;
    frame();
    frame();
    EXPECT_EQ(playerCar.lateralSpeed, -1);
    EXPECT_EQ(playerCar.speed, -1);
    EXPECT_TRUE(playerCar.steeredDiagonally);
    // Up, Left and Right together: both diagonals, the steering cancels, still accelerating.
    keys[KEY_RIGHT] = true;
    playerCar.lateralSpeed = 0;
    frame();
    frame();
    EXPECT_EQ(playerCar.lateralSpeed, 0);
    EXPECT_EQ(playerCar.speed, -2);
    // Buttons 1 and 7 together behave the same.
    keys[KEY_UP] = keys[KEY_LEFT] = keys[KEY_RIGHT] = false;
    buttons[1] = buttons[7] = true;
    frame();
    frame();
    EXPECT_EQ(playerCar.lateralSpeed, 0);
    EXPECT_EQ(playerCar.speed, -3);
    buttons[1] = false; // button 7 alone accelerates too
    frame();
    frame();
    EXPECT_EQ(playerCar.speed, -4);
    // Down, button 4, left Shift and button 13 each brake alone, and so do the diagonals 3 and 5.
    buttons[7] = false;
    for (bool* brake : {&keys[KEY_DOWN], &buttons[4], &keys[KEY_LSHIFT], &buttons[13], &buttons[3],
                        &buttons[5]}) {
        playerCar.speed = -10;
        *brake = true;
        frame();
        frame();
        *brake = false;
        EXPECT_EQ(playerCar.speed, -9);
    }
    EXPECT_FALSE(setKind(playerCar, 2)); // a kind is a player or a traffic car
    EXPECT_EQ(playerCar.kind, CAR_PLAYER);
}

// The car stays in sight, left of the panel, however hard it is steered; a move from the left
// edge that would carry it past the right one is taken back too.
TEST_F(PlayerTest, SteeringGrowsButTheCarStaysLeftOfThePanel)
{
    keys[KEY_RIGHT] = true;
    int rightmost = 0;
    for (int i = 0; i < 200; ++i) {
        frame();
        ASSERT_GE(playerCar.x, 0);
        ASSERT_LE(playerCar.x, PANEL_X - CAR_WIDTH);
        rightmost = std::max(rightmost, playerCar.x);
    }
    EXPECT_GT(rightmost, PANEL_X - CAR_WIDTH - 20);
    EXPECT_EQ(playerCar.lateralSpeed, 100);
    keys[KEY_RIGHT] = false;
    frame();
    EXPECT_EQ(playerCar.lateralSpeed, 99); // recentres one per frame
    // The last pixel the car may take, and the one past it.
    for (const auto& [from, to] : {std::pair{0, 0},
                                   {PANEL_X - CAR_WIDTH - 1, PANEL_X - CAR_WIDTH},
                                   {PANEL_X - CAR_WIDTH, PANEL_X - CAR_WIDTH}}) {
        playerCar.x = from;
        playerCar.lateralSpeed = from == 0 ? 300 : 2; // less the one it recentres by
        frame();
        EXPECT_EQ(playerCar.x, to) << from;
    }
}

TEST_F(PlayerTest, ACarCarriedPastTheRightEdgeCanSteerBack)
{
    playerCar.x = 345; // where a crash slide onto a second carriageway can leave it
    keys[KEY_LEFT] = true;
    for (int i = 0; i < 40; ++i)
        frame();
    EXPECT_LE(playerCar.x, PANEL_X - CAR_WIDTH);
}

TEST_F(PlayerTest, CrashRecoveryNeedsBothTimeAndAStandstill)
{
    playerCar.state = CAR_CRASHED;
    playerCar.speed = -6;
    const uint32_t crashed = ticksNow();
    int frames = 0;
    while (playerCar.state == CAR_CRASHED && frames < 400) {
        advanceVirtualTicks(19);
        frame();
        ++frames;
    }
    // Standing after 30 frames (3 every 15), but 1.3 s must pass on the recovery watch,
    // which starts at the first control step (the second frame) and is read every second.
    const uint32_t took = ticksNow() - crashed;
    EXPECT_GE(took, 2u * 19 + 1300);
    EXPECT_LE(took, 2u * 19 + 1300 + 2 * 19);
    EXPECT_EQ(playerCar.state, CAR_DRIVING);
    ASSERT_FALSE(soundLog().empty());
    const SoundRequest* firstEngine = nullptr;
    for (const SoundRequest& r : soundLog())
        if (r.op == SOUND_PLAY && r.channel == 1 && !firstEngine)
            firstEngine = &r;
    ASSERT_NE(firstEngine, nullptr);
    EXPECT_EQ(firstEngine->sample, playerCar.engineSounds[1].plain);
    EXPECT_EQ(firstEngine->loops, -1);

    // Still rolling after 1.3 s: out of it at the first control step at a standstill.
    playerCar.state = CAR_CRASHED;
    playerCar.speed = -20;
    frames = 0;
    int stoppedAt = -1;
    while (playerCar.state == CAR_CRASHED && frames < 1000) {
        advanceVirtualTicks(19);
        frame();
        ++frames;
        if (playerCar.speed == 0 && stoppedAt < 0)
            stoppedAt = frames;
    }
    EXPECT_EQ(playerCar.state, CAR_DRIVING);
    EXPECT_GT(stoppedAt, 1300 / 19);
    EXPECT_LE(frames - stoppedAt, 2);

    // At a standstill: still crashed 1299 ms after the watch started, driving at 1300.
    playerCar.state = CAR_CRASHED;
    frame(), frame(); // the control step starts the watch
    const uint32_t started = ticksNow();
    for (uint32_t after : {1299u, 1300u}) {
        setVirtualTicks(started + after);
        frame(), frame();
        EXPECT_EQ(playerCar.state, after == 1299 ? CAR_CRASHED : CAR_DRIVING) << after;
    }
}

TEST_F(PlayerTest, EngineSampleFollowsTheSpeedWithoutRepeats)
{
    keys[KEY_UP] = true;
    for (int i = 0; i < 80; ++i)
        frame();
    // One request per level on the way up, then silence while the speed holds.
    for (int level = 2; level <= 20; ++level)
        EXPECT_EQ(plays(1, playerCar.engineSounds[level].plain), 1) << level;
    const size_t before = soundLog().size();
    int playsBefore = plays(1);
    for (int i = 0; i < 50; ++i)
        frame();
    EXPECT_EQ(plays(1), playsBefore);
    EXPECT_GT(soundLog().size(),
              before); // only the per-frame halts of the skid and gravel channels
    for (size_t i = before; i < soundLog().size(); ++i)
        EXPECT_EQ(soundLog()[i].op, SOUND_HALT);
}

TEST_F(PlayerTest, TunnelEchoOnEnteringAndPlainOnLeaving)
{
    playerCar.speed = -20;
    keys[KEY_UP] = true;
    frame();
    EXPECT_EQ(plays(1, playerCar.engineSounds[20].plain), 1);
    setPlayerRows({10, 10, 11, 11, 11, 11, 10, 10});
    frame();
    EXPECT_EQ(plays(1, playerCar.engineSounds[20].echo), 1);
    EXPECT_TRUE(playerCar.headlightsOn);
    frame();
    EXPECT_EQ(plays(1, playerCar.engineSounds[20].echo), 1);
    // Onto a checkpoint tile: still the echo (97 does not end the tunnel sound).
    setPlayerRows({10, 10, 97, 97, 97, 97, 10, 10});
    frame();
    EXPECT_EQ(plays(1, playerCar.engineSounds[20].plain), 1);
    EXPECT_EQ(plays(1, playerCar.engineSounds[20].echo), 1);
    setPlayerRows({1, 3, 2, 2, 2, 2, 4, 1});
    frame();
    EXPECT_EQ(plays(1, playerCar.engineSounds[20].plain), 2);
    EXPECT_FALSE(playerCar.headlightsOn);
    setPlayerRows({10, 10, 10, 10, 10, 10, 10, 10}); // a tunnel wall echoes too
    clearSoundLog();
    frame();
    ASSERT_EQ(plays(1), 1);
    EXPECT_EQ(plays(1, playerCar.engineSounds[engineSampleLevel(playerCar.engineLevel)].echo), 1);
}

TEST_F(PlayerTest, OnePassSoundPerPass)
{
    playerCar.speed = -20;
    keys[KEY_UP] = true;
    frame(210);
    frame(205);
    frame(215);
    EXPECT_EQ(plays(2, playerCar.passSound), 1);
    frame(150); // out of the band
    frame(200);
    EXPECT_EQ(plays(2, playerCar.passSound), 2);
    for (int trafficY : {199, 220, 221, 220}) // the band is 200..220
        frame(trafficY);
    EXPECT_EQ(plays(2, playerCar.passSound), 4);
    playerCar.speed = -15; // below top speed: no pass sound
    keys[KEY_UP] = false;
    frame(150);
    frame(210);
    EXPECT_EQ(plays(2, playerCar.passSound), 4);
}

TEST_F(PlayerTest, SkidAndGravelLoopsStartOnceAndStop)
{
    playerCar.speed = -10;
    keys[KEY_UP] = true;
    setPlayerRows({1, 3, 12, 12, 12, 12, 4, 1});
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_EQ(playerCar.state, CAR_ON_GRAVEL);
    EXPECT_EQ(plays(4, playerCar.gravelSound), 1);
    setPlayerRows({1, 3, 97, 97, 97, 97, 4, 1});
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_EQ(playerCar.state, CAR_SKIDDING);
    EXPECT_EQ(plays(3, playerCar.skidSound), 1);
    EXPECT_TRUE(playerControl.skidLoopOn);
    EXPECT_FALSE(playerControl.gravelLoopOn);
    setPlayerRows({1, 3, 2, 2, 2, 2, 4, 1});
    clearSoundLog();
    frame();
    EXPECT_FALSE(playerControl.skidLoopOn);
    ASSERT_FALSE(soundLog().empty());
    EXPECT_EQ(soundLog().front().op, SOUND_HALT);
    EXPECT_EQ(soundLog().front().channel, 3);
}

TEST_F(PlayerTest, PausingSilencesEverythingInTheSameFrame)
{
    playerCar.speed = -10;
    frame();
    clearSoundLog();
    game.gameState = STATE_PAUSED;
    const int x = playerCar.x;
    playerCar.lateralSpeed = 2;
    movePlayer(playerCar, tiles, 500);
    EXPECT_EQ(playerCar.x, x + 2); // it still moves in that frame
    ASSERT_EQ(soundLog().size(), 1u);
    EXPECT_EQ(soundLog()[0].op, SOUND_PAUSE);
    EXPECT_EQ(soundLog()[0].channel, -1);
}

TEST_F(PlayerTest, CrashSlideGoesToTheRoadsideAndTheEngineWaits)
{
    playerCar.state = CAR_CRASHED;
    playerCar.speed = -10;
    playerCar.y = 20; // the travel offset picks the row the slide aims for
    playerCar.x = 90;
    clearSoundLog();
    for (int i = 0; i < 40; ++i)
        movePlayer(playerCar, tiles, 500);
    EXPECT_EQ(playerCar.x, 200 + 10 + 15); // right edge of the road, plus 15
    EXPECT_EQ(plays(1), 0);
}
