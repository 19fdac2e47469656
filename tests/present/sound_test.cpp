#include "app/session.h"
#include "pilot.h"
#include "platform/sound.h"
#include "present/assets.h"
#include "present/intro.h"
#include "rules/loop.h"
#include "rules/states.h"
#include "sim/car.h"
#include "sim/player.h"
#include "sim/road.h"
#include "state/game.h"
#include "support/stage.h"
#include <SDL_mixer.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

TEST(SoundPlan, PauseResumeAndHaltReachTheMixer)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl{true};
    soundPlay(1, playerCar.engineSounds[5].plain, -1);
    soundPlay(3, playerCar.skidSound, -1);
    EXPECT_TRUE(Mix_Playing(1));
    EXPECT_EQ(Mix_GetChunk(1), playerCar.engineSounds[5].plain);
    soundPlay(1, playerCar.engineSounds[6].plain, -1); // replaces the engine on its channel
    EXPECT_EQ(Mix_GetChunk(1), playerCar.engineSounds[6].plain);
    soundPause(-1);
    EXPECT_TRUE(Mix_Paused(1));
    EXPECT_TRUE(Mix_Paused(3));
    soundResume(-1);
    EXPECT_FALSE(Mix_Paused(1));
    EXPECT_TRUE(Mix_Playing(3));
    // The end of a run halts everything.
    game.gameState = STATE_TIME_UP;
    game.runArmed = false;
    setUpRun(false);
    EXPECT_EQ(game.gameState, STATE_ATTRACT);
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(soundPlay(2, nullptr, 0), -1); // a missing sample is simply not heard
}

namespace
{
// The loudest sample of the mix the disk driver has written so far.
int loudestSample(const std::string& file)
{
    std::FILE* mix = std::fopen(file.c_str(), "rb");
    int16_t samples[4096];
    int loudest = 0;
    for (size_t got; mix && (got = std::fread(samples, 2, 4096, mix)) > 0;)
        for (size_t i = 0; i < got; ++i)
            loudest = std::max(loudest, std::abs(int(samples[i])));
    if (mix)
        std::fclose(mix);
    return loudest;
}
} // namespace

TEST(SoundPlan, AMinuteOfPlaySoundsAsPlanned)
{
    int loudest = 0;
    StagedResources stage{ALL_RESOURCES};
    const std::string mixFile = stage.dir() + "/mix.raw";
    setenv("SDL_DISKAUDIOFILE", mixFile.c_str(), 1);
    {
        Headless sdl{true};
        TileList tiles = loadCourse();
        FrameLoop loop;
        startRun(loop, tiles);
        Pilot driver = racer();
        int previousSpeed = playerCar.speed, previousTerrain = roadReadings.playerTerrain;
        int previousState = playerCar.state, steadyFrames = 0;
        for (int frame = 0; frame < 60 * 1000 / 19 && game.gameState == STATE_PLAYING; ++frame) {
            const size_t before = soundLog().size();
            driver.steer(tiles);
            ASSERT_FALSE(runFrame(loop, tiles));
            // At a constant speed on the same terrain, the engine is never asked again.
            const bool steady = playerCar.speed == previousSpeed &&
                                roadReadings.playerTerrain == previousTerrain &&
                                playerCar.state == CAR_DRIVING && previousState == CAR_DRIVING;
            for (size_t i = before; steady && i < soundLog().size(); ++i)
                ASSERT_FALSE(soundLog()[i].op == SOUND_PLAY && soundLog()[i].channel == 1) << frame;
            steadyFrames += steady;
            // The engine playing is the one for the speed.
            if (playerCar.state == CAR_DRIVING && Mix_Playing(1)) {
                const EngineSample& e =
                    playerCar.engineSounds[engineSampleLevel(std::abs(playerCar.speed))];
                const Mix_Chunk* playing = Mix_GetChunk(1);
                ASSERT_TRUE(playing == e.plain || playing == e.echo ||
                            playing == playerCar.crashSound ||
                            playing == playerCar.engineSounds[1].plain)
                    << "frame " << frame << " speed " << playerCar.speed;
            }
            previousSpeed = playerCar.speed;
            previousTerrain = roadReadings.playerTerrain;
            previousState = playerCar.state;
        }
        EXPECT_GT(steadyFrames, 1000);
        // The mixer's thread writes the mix as it goes: wait, generously, for it to be heard.
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while ((loudest = loudestSample(mixFile)) <= 2000 &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    EXPECT_GT(loudest, 2000);
}
