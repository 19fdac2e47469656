// The whole program: the real executable for its exit statuses, and the real start-up,
// frame loop and shutdown in-process with pushed key events and the virtual clock.
#include "shell/clock.h"
#include "shell/game.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "sim/car.h"
#include "sim/player.h"
#include "support/driver.h"
#include "support/stage.h"
#include "track/track.h"
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {
// Runs the staged copy of the executable from the root folder, headless; returns its exit
// status and what it printed.
int runExecutable(const StagedResources& stage, const std::string& videoDriver, std::string& output)
{
    const std::string exe = stage.dir() + "/quindara";
    std::filesystem::copy_file(gameExecutable(), exe);
    const std::string command = "cd / && SDL_VIDEODRIVER=" + videoDriver +
                                " SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null timeout 20 " +
                                exe + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    char buffer[256];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = pipe ? pclose(pipe) : -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The game's own start-up, in this process.
class WholeGame : public ::testing::Test {
protected:
    StagedResources stage;
    TileList tiles;
    FrameLoop loop;

    void SetUp() override
    {
        useVirtualClock(true);
        setVirtualTicks(500);
        resetGameVariables();
        settings = Settings();
    }
    void TearDown() override { useVirtualClock(false); }

    void startUp()
    {
        ASSERT_TRUE(initialise());
        ASSERT_EQ(loadGame(tiles), 0);
    }
    void frames(int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_FALSE(runFrame(loop, tiles)) << "quit at frame " << i;
    }
    void quitWithEscape()
    {
        tapKey(KEY_ESCAPE);
        ASSERT_TRUE(runFrame(loop, tiles));
        shutdown(tiles);
    }
};
}  // namespace

TEST(Executable, WithoutALevelItEndsWithStatusOneAndTouchesNoSettings)
{
    StagedResources stage;
    stage.remove("01.lvl");
    stage.write("config.dat", std::string("\x10\x27\0\0\x40\0\0\0", 8));
    std::string output;
    EXPECT_EQ(runExecutable(stage, "dummy", output), 1);
    EXPECT_EQ(stage.read("config.dat"), std::string("\x10\x27\0\0\x40\0\0\0", 8));
}

TEST(Executable, WithoutAScreenItSaysSoAndEndsWithStatusTwo)
{
    StagedResources stage;
    std::string output;
    EXPECT_EQ(runExecutable(stage, "no-such-driver", output), 2);
    EXPECT_EQ(output, "SDL_SetVideoMode screen not initialised.\n");
    EXPECT_FALSE(stage.exists("config.dat"));
}

TEST_F(WholeGame, EscapeAtTheBannerStartsTheGameAndALaterEscapeQuits)
{
    startUp();
    pushKey(KEY_ESCAPE, true);   // pressed at the ready banner ...
    showReadyBanner();
    EXPECT_EQ(masterVolume, 75);  // no settings file yet: the default
    EXPECT_TRUE(stage.exists("config.dat"));
    startFrameLoop(loop);
    pushKey(KEY_ESCAPE, false);  // ... and let go once the game is running
    frames(5);
    EXPECT_EQ(gameState, STATE_ATTRACT);
    quitWithEscape();
    EXPECT_EQ(stage.read("config.dat"), std::string("\0\0\0\0\x4b\0\0\0", 8));
}

TEST_F(WholeGame, AttractARunOfAMinuteTimeUpAndBackToAttract)
{
    stage.write("config.dat", std::string("\x05\0\0\0\x64\0\0\0", 8));   // high 5, volume 100
    startUp();
    tapKey(KEY_RETURN);
    showReadyBanner();
    EXPECT_EQ(highScore, 5);
    EXPECT_EQ(masterVolume, 100);
    startFrameLoop(loop);
    frames(20);
    EXPECT_EQ(gameState, STATE_ATTRACT);
    EXPECT_EQ(scrollY, 0);
    tapKey(KEY_RETURN);
    frames(1);
    ASSERT_EQ(gameState, STATE_PLAYING);
    SimpleDriver driver;
    int playingFrames = 0;
    while (gameState == STATE_PLAYING && playingFrames < 400 * 1000 / 19) {
        driver.drive(tiles);
        frames(1);
        ++playingFrames;
    }
    EXPECT_EQ(gameState, STATE_TIME_UP);
    const int runScore = score;
    EXPECT_GT(runScore, 500);
    EXPECT_EQ(highScore, runScore);
    // Out of time, the car rolls to a stop whatever is held, and attract returns.
    int rolling = 0;
    while (gameState == STATE_TIME_UP && rolling < 2000) {
        frames(1);
        ++rolling;
    }
    EXPECT_EQ(gameState, STATE_ATTRACT);
    EXPECT_EQ(playerCar.speed, 0);
    EXPECT_EQ(timeLimit, 60);
    frames(100);   // the traffic car drives on alone
    pushKey(KEY_Q, true);
    frames(3);
    pushKey(KEY_Q, false);
    quitWithEscape();
    const std::string saved = stage.read("config.dat");
    ASSERT_EQ(saved.size(), 8u);
    int32_t storedHigh = 0, storedVolume = 0;
    for (int i = 3; i >= 0; --i) {
        storedHigh = storedHigh << 8 | static_cast<unsigned char>(saved[i]);
        storedVolume = storedVolume << 8 | static_cast<unsigned char>(saved[4 + i]);
    }
    EXPECT_EQ(storedHigh, runScore);
    EXPECT_EQ(storedVolume, 103);
}

TEST_F(WholeGame, MissingFontsStillStartAndQuitCleanly)
{
    stage.remove("arial.ttf");
    stage.remove("led.ttf");
    startUp();
    tapKey(32);   // any key leaves the banner
    showReadyBanner();
    startFrameLoop(loop);
    frames(10);
    tapKey(KEY_RETURN);
    pushKey(KEY_UP, true);
    frames(200);
    EXPECT_EQ(gameState, STATE_PLAYING);
    quitWithEscape();
    EXPECT_EQ(stage.read("config.dat").size(), 8u);
}
