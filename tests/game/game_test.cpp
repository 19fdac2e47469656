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
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
struct Finished {
    int status = -1;
    std::string out, err;
};

// Runs the staged copy of the executable from the root folder, headless unless `env` says
// otherwise ("NAME=value" sets, "NAME=" unsets). With `signal` set, the signal is sent once
// the game has printed its first line. A watchdog kills it after a minute.
Finished runExecutable(const StagedResources& stage, const std::vector<std::string>& env,
                       const std::vector<std::string>& args = {}, int signal = 0)
{
    const std::string exe = stage.dir() + "/quindara";
    if (!std::filesystem::exists(exe))
        std::filesystem::copy_file(gameExecutable(), exe);
    int out[2], err[2];
    if (pipe(out) != 0 || pipe(err) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], 1);
        dup2(err[1], 2);
        close(out[0]);
        close(err[0]);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        for (const std::string& e : env) {
            const size_t eq = e.find('=');
            if (eq + 1 == e.size())
                unsetenv(e.substr(0, eq).c_str());
            else
                setenv(e.substr(0, eq).c_str(), e.substr(eq + 1).c_str(), 1);
        }
        std::vector<const char*> argv = {"timeout", "-s", "KILL", "60", exe.c_str()};
        for (const std::string& a : args)
            argv.push_back(a.c_str());
        argv.push_back(nullptr);
        if (chdir("/") == 0)
            execvp("timeout", const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    Finished f;
    char c;
    while (read(out[0], &c, 1) == 1) {
        f.out += c;
        if (c == '\n' && signal && f.out.find('\n') == f.out.size() - 1)
            kill(child, signal);   // timeout hands it on to the game
    }
    char buffer[512];
    for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;)
        f.err.append(buffer, size_t(n));
    close(out[0]);
    close(err[0]);
    int status = 0;
    waitpid(child, &status, 0);
    f.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return f;
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
    EXPECT_EQ(runExecutable(stage, {}).status, 1);
    EXPECT_EQ(stage.read("config.dat"), std::string("\x10\x27\0\0\x40\0\0\0", 8));
}

TEST(Executable, WithoutAScreenItSaysSoAndEndsWithStatusTwo)
{
    StagedResources stage;
    const std::string message = "SDL_SetVideoMode screen not initialised.\n";
    // A driver that does not exist, and no display at all with SDL left to choose.
    for (const auto& env : {std::vector<std::string>{"SDL_VIDEODRIVER=no-such-driver"},
                            std::vector<std::string>{"SDL_VIDEODRIVER=", "DISPLAY=", "WAYLAND_DISPLAY="},
                            std::vector<std::string>{"SDL_VIDEODRIVER=", "DISPLAY=:93", "WAYLAND_DISPLAY="}}) {
        const Finished f = runExecutable(stage, env);
        EXPECT_EQ(f.status, 2) << env.back();
        EXPECT_EQ(f.out, message) << env.back();
    }
    EXPECT_FALSE(stage.exists("config.dat"));
}

TEST(Executable, AnAudioDriverThatCannotStartGivesASilentGameThatStopsWhenAsked)
{
    StagedResources stage;
    stage.write("config.dat", std::string("\x10\x27\0\0\x40\0\0\0", 8));
    const Finished f = runExecutable(stage, {"SDL_AUDIODRIVER=no-such-audio"}, {}, SIGTERM);
    EXPECT_EQ(f.status, 0);
    EXPECT_EQ(f.out.rfind("Quindara: no sound (", 0), 0u) << f.out;
    EXPECT_EQ(stage.read("config.dat"), std::string("\x10\x27\0\0\x40\0\0\0", 8));
}

TEST(Executable, VersionHelpAndABadOption)
{
    StagedResources stage;
    const Finished version = runExecutable(stage, {}, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Quindara v1.0.2b\n");
    const Finished help = runExecutable(stage, {}, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: quindara", 0), 0u);
    const Finished bad = runExecutable(stage, {}, {"--scale", "9"});
    EXPECT_EQ(bad.status, 64);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, help.out);
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
    const std::string onDisk = stage.read("config.dat");   // saved as the run ended
    ASSERT_EQ(onDisk.size(), 8u);
    EXPECT_EQ((static_cast<unsigned char>(onDisk[1]) << 8) | static_cast<unsigned char>(onDisk[0]), runScore);
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
