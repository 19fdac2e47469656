// The whole program: the real executable for its exit statuses, and the real start-up,
// frame loop and shutdown in-process with pushed key events and the virtual clock.
#include "app/session.h"
#include "pilot.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "present/intro.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "rules/game_state.h"
#include "rules/ghost.h"
#include "rules/loop.h"
#include "rules/name_entry.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/player.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/course.h"
#include "track/track.h"
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>

namespace
{
// The game's own start-up, in this process.
class WholeGame : public ::testing::Test
{
  protected:
    StagedResources stage{ALL_RESOURCES};
    TileList tiles;
    FrameLoop loop;

    void SetUp() override
    {
        useVirtualClock(true);
        setVirtualTicks(500);
        resetEveryRoom();
    }
    void TearDown() override { useVirtualClock(false); }

    void startUp()
    {
        enterSession(false);
        ASSERT_EQ(startSession({}, tiles), 0);
        ASSERT_TRUE(soundDeviceOpen()); // audio started on its own, after the video
        // Nobody sees the dummy driver's window: its frames are not shown, as in a check (the
        // game's own screen, which the replays compare, is drawn all the same).
        showFrames(false);
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
} // namespace

// Without its course the game ends with status 1, having shut everything down first (the
// sound's thread left running would call into a mixer the exit has taken away).
TEST(Executable, WithoutALevelItEndsWithStatusOneAndTouchesNoSettings)
{
    StagedResources stage{ALL_RESOURCES};
    stage.remove("01.lvl");
    stage.write("config.dat", std::string("\x10\x27\0\0\x40\0\0\0", 8));
    EXPECT_EQ(runStagedGame(stage, "").status, 1);
    EXPECT_EQ(stage.read("config.dat"), std::string("\x10\x27\0\0\x40\0\0\0", 8));
    resetEveryRoom();
    TileList tiles;
    EXPECT_EQ(startSession({}, tiles), 1);
    EXPECT_FALSE(soundDeviceOpen());
    EXPECT_EQ(SDL_WasInit(SDL_INIT_EVERYTHING), 0u);
}

TEST(Executable, WithoutAScreenItSaysSoAndEndsWithStatusTwo)
{
    StagedResources stage{ALL_RESOURCES};
    const std::string message = "SDL_SetVideoMode screen not initialised.\n";
    // A driver that does not exist, and no display at all with SDL left to choose.
    for (const char* env :
         {"SDL_VIDEODRIVER=no-such-driver", "-u SDL_VIDEODRIVER -u DISPLAY -u WAYLAND_DISPLAY",
          "-u SDL_VIDEODRIVER -u WAYLAND_DISPLAY DISPLAY=:93"}) {
        const Finished f = runStagedGame(stage, std::string("env ") + env);
        EXPECT_EQ(f.status, 2) << env;
        EXPECT_EQ(f.out, message) << env;
    }
    EXPECT_FALSE(stage.exists("config.dat"));
}

TEST(Executable, AnAudioDriverThatCannotStartGivesASilentGameThatStopsWhenAsked)
{
    // SDL's dummy driver would overrun its buffer: the game plays silently there too.
    for (const char* driver : {"no-such-audio", "dummy"}) {
        StagedResources stage{ALL_RESOURCES};
        stage.write("config.dat", std::string("\x10\x27\0\0\x40\0\0\0", 8));
        const Finished f =
            runStagedGame(stage, std::string("SDL_AUDIODRIVER=") + driver, "", SIGTERM);
        EXPECT_EQ(f.status, 0) << driver;
        EXPECT_EQ(f.out.rfind("Quindara: no sound (", 0), 0u) << f.out;
        EXPECT_EQ(stage.read("config.dat"), std::string("\x10\x27\0\0\x40\0\0\0", 8));
    }
}

TEST(Executable, AReplayIsCheckedFrameByFrameAndRefusedWhenItIsNotThisGames)
{
    StagedResources stage{ALL_RESOURCES};
    Replay replay;
    std::string error;
    ASSERT_TRUE(readReplayFile(sourceDir() + "/tests/replays/crashes.qrp", replay, error));
    const std::string path = stage.dir() + "/changed.qrp";
    struct Case {
        void (*change)(Replay&);
        int status;
        const char* says;
    } cases[] = {
        {[](Replay&) {}, 0, ": ok\n"},
        {[](Replay& r) { r.frames[10].digest.group[GROUP_CARS] ^= 1; }, 3,
         "frame 10 differs (cars)"},

        {[](Replay& r) { r.courseChecksum ^= 1; }, 2, "was recorded on another course"},
    };
    for (const Case& c : cases) {
        Replay changed = replay;
        c.change(changed);
        ASSERT_TRUE(writeReplayFile(path, changed));
        // A relative path is found from where the game was started (the root folder).
        const std::string named = c.status == 0 ? path.substr(1) : path;
        const Finished f = runStagedGame(stage, "", "--replay " + named + " --check");
        EXPECT_EQ(f.status, c.status) << c.says;
        EXPECT_NE((f.out + f.err).find(c.says), std::string::npos) << f.out << f.err;
    }
    // Crafted starting states: a crash spin step past the four crash pictures; a score no
    // session reaches, which would overflow within the run.
    struct Crafted {
        int* field;
        int value;
        const char* what;
    } crafts[] = {{&crashSpin.crashFrameStep, 5, "the crash spin step"},
                  {&game.score, 2 * SESSION_FRAMES + 1, "the score"}};
    for (const Crafted& c : crafts) {
        Replay crafted = replay;
        FrameLoop loop;
        restoreSnapshot(crafted.snapshot, loop);
        *c.field = c.value;
        saveSnapshot(loop, crafted.snapshot);
        ASSERT_TRUE(writeReplayFile(path, crafted));
        for (const char* mode : {" --check", " --dump"}) {
            const Finished f = runStagedGame(stage, "", "--replay " + path + mode);
            EXPECT_EQ(f.status, 2) << mode;
            EXPECT_EQ(f.err, "Quindara: " + path + ": damaged (its starting state holds " + c.what +
                                 " out of range).\n");
        }
    }
    // A replay of the format before the snapshot last changed: another version's.
    std::vector<uint8_t> older = encodeReplay(replay);
    older[4] = REPLAY_FORMAT - 1;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(older.data()), older.size());
    const Finished another = runStagedGame(stage, "", "--replay " + path + " --check");
    EXPECT_EQ(another.status, 2);
    EXPECT_EQ(another.err, "Quindara: " + path + ": recorded by another version of Quindara.\n");
    // A run that ends in attract saves its high score, but not when it is only replayed.
    EXPECT_EQ(
        runStagedGame(stage, "", "--replay " + sourceDir() + "/tests/replays/timeout.qrp --check")
            .status,
        0);
    EXPECT_FALSE(stage.exists("config.dat"));
}

// A replay check behaves as a command in a script should: a FIFO is refused before it is
// read, a stop is no mismatch, and an answer that cannot be written is no success.
TEST(Executable, AReplayCheckStopsReadsAndWritesAsAScriptExpects)
{
    StagedResources stage{ALL_RESOURCES};
    const std::string replay = sourceDir() + "/tests/replays/lap.qrp", fifo = stage.dir() + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const Finished piped = runStagedGame(stage, "", "--replay " + fifo + " --check");
    EXPECT_EQ(piped.status, 2);
    EXPECT_EQ(piped.err, "Quindara: " + fifo + ": not a regular file.\n");
    EXPECT_EQ(piped.out, ""); // what went wrong goes to standard error
    const Finished stopped = runStagedGame(stage, "", "--replay " + replay + " --dump", SIGTERM);
    EXPECT_EQ(stopped.status, 128 + SIGTERM);
    EXPECT_NE(stopped.out.find("\nstopped after "), std::string::npos);
    EXPECT_EQ(stopped.out.find("differs"), std::string::npos);
    // The recorded digests of the longest run a file can hold: a stop ends the listing too.
    Replay longest;
    longest.frames.resize(MAX_REPLAY_FRAMES);
    const std::string listed = stage.dir() + "/longest.qrp";
    ASSERT_TRUE(writeReplayFile(listed, longest));
    const Finished cut =
        runStagedGame(stage, "", "--replay " + listed + " --dump --recorded", SIGINT);
    EXPECT_EQ(cut.status, 128 + SIGINT);
    EXPECT_NE(cut.out.find("\nstopped after "), std::string::npos);
    const Finished full = runStagedGame(stage, "", "--replay " + replay + " --check >/dev/full");
    EXPECT_EQ(full.status, 2);
    EXPECT_EQ(full.err, "Quindara: cannot write to standard output (No space left on device).\n");
}

// A course's faults, each on a line with its row; a replay finds its own course, or names it.
TEST(Executable, ChecksACourseAndPlaysAReplayOnItsOwnCourse)
{
    StagedResources stage{ALL_RESOURCES};
    std::string rows;
    for (int i = 0; i < 14; ++i)
        rows += i == 2 ? "01,03,02,02,02,04,01\n" : "01,03,02,02,02,02,04,01\n";
    stage.write("bad.lvl", rows);
    const Finished bad = runStagedGame(stage, "", "--check-course " + stage.path("bad.lvl"));
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, stage.path("bad.lvl") + ": row 3: the row has 7 tiles, not 8\n");
    const Finished good = runStagedGame(stage, "", "--check-course " + stage.path("03.lvl"));
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out.rfind(stage.path("03.lvl") + ": \"Night Run\", ", 0), 0u);
    EXPECT_EQ(good.out.substr(good.out.size() - 31), "4 checkpoints: nothing to say.\n");
    const Finished unknown = runStagedGame(stage, "", "--course Nowhere");
    EXPECT_EQ(unknown.status, 1); // before any window opens
    EXPECT_EQ(unknown.err, "Quindara: there is no course Nowhere; the courses are Quindara Ring, "
                           "Coast Road, Night Run, Motorway.\n");
    const std::string coast = sourceDir() + "/tests/replays/coast.qrp";
    EXPECT_EQ(runStagedGame(stage, "", "--replay " + coast + " --check").status, 0);
    stage.remove("02.lvl");
    const Finished gone = runStagedGame(stage, "", "--replay " + coast + " --check");
    EXPECT_EQ(gone.status, 2);
    EXPECT_EQ(gone.err,
              "Quindara: " + coast +
                  " was recorded on the course \"Coast Road\", which is not installed.\n");
}

TEST(Executable, VersionHelpAndABadOption)
{
    StagedResources stage;
    const Finished version = runStagedGame(stage, "", "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Quindara v1.0.2b\n");
    const Finished help = runStagedGame(stage, "", "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: quindara", 0), 0u);
    const Finished bad = runStagedGame(stage, "", "--scale 9");
    EXPECT_EQ(bad.status, 64);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "Quindara: --scale takes a whole number from 1 to 8.\n" + help.out);
}

TEST_F(WholeGame, EscapeAtTheBannerStartsTheGameAndALaterEscapeQuits)
{
    startUp();
    pushKey(KEY_ESCAPE, true); // pressed at the ready banner ...
    showReadyBanner();
    EXPECT_EQ(game.masterVolume, 75); // no settings file yet: the default
    EXPECT_TRUE(stage.exists("config.dat"));
    startFrameLoop(loop);
    pushKey(KEY_ESCAPE, false); // ... and let go once the game is running
    frames(5);
    EXPECT_EQ(game.gameState, STATE_ATTRACT);
    quitWithEscape();
    EXPECT_EQ(stage.read("config.dat"), std::string("\0\0\0\0\x4b\0\0\0", 8));
}

TEST_F(WholeGame, AttractARunOfAMinuteTimeUpAndBackToAttract)
{
    stage.write("config.dat", std::string("\x05\0\0\0\x64\0\0\0", 8)); // high 5, volume 100
    startUp();
    tapKey(KEY_RETURN);
    showReadyBanner();
    EXPECT_EQ(game.highScore, 5);
    EXPECT_EQ(game.masterVolume, 100);
    startFrameLoop(loop);
    frames(20);
    EXPECT_EQ(game.gameState, STATE_ATTRACT);
    EXPECT_EQ(trackView.scrollY, 0);
    tapKey(KEY_RETURN);
    frames(1);
    ASSERT_EQ(game.gameState, STATE_PLAYING);
    Pilot driver = racer();
    int playingFrames = 0;
    while (game.gameState == STATE_PLAYING && playingFrames < 400 * 1000 / 19) {
        driver.steer(tiles);
        frames(1);
        ++playingFrames;
    }
    EXPECT_EQ(game.gameState, STATE_TIME_UP);
    const int runScore = game.score;
    EXPECT_GT(runScore, 500);
    EXPECT_EQ(game.highScore, runScore);
    // Out of time, the car rolls to a stop whatever is held, and attract returns.
    int rolling = 0;
    while (game.gameState == STATE_TIME_UP && rolling < 2000) {
        frames(1);
        ++rolling;
    }
    EXPECT_EQ(game.gameState, STATE_ATTRACT);
    EXPECT_EQ(playerCar.speed, 0);
    EXPECT_EQ(game.timeLimit, 60);
    const std::string onDisk = stage.read("config.dat"); // saved as the run ended
    ASSERT_EQ(onDisk.size(), 8u);
    EXPECT_EQ((static_cast<unsigned char>(onDisk[1]) << 8) | static_cast<unsigned char>(onDisk[0]),
              runScore);
    // The run enters the Ring's table: its initials typed, one of them taken back.
    for (int sym : {int('z'), int('q'), KEY_BACKSPACE, int('x'), int('y'), KEY_RETURN})
        tapKey(sym);
    ASSERT_TRUE(offerFinishedRun(STATE_TIME_UP)); // as the game does after the run's last frame
    ASSERT_EQ(tableOf("Quindara Ring").size(), 1u);
    EXPECT_EQ(tableOf("Quindara Ring")[0].initials, "ZXY");
    EXPECT_NE(
        stage.read("scores.txt").find("Quindara Ring\t" + std::to_string(runScore) + "\tZXY\t"),
        std::string::npos);
    // Another course: its road, its best; the first course's high score stays in the file.
    tapKey(KEY_RIGHT);
    frames(1);
    EXPECT_EQ(courseList.chosen, 1);
    EXPECT_EQ(game.highScore, 0);
    EXPECT_EQ(stage.read("course"), "Coast Road\n");
    tapKey(KEY_LEFT), tapKey(KEY_LEFT);
    frames(1); // a step for each press, round to the last course
    EXPECT_EQ(courseList.chosen, 3);
    frames(100); // the traffic car drives on alone
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
    tapKey(32); // any key leaves the banner
    showReadyBanner();
    startFrameLoop(loop);
    frames(10);
    tapKey(KEY_RETURN);
    pushKey(KEY_UP, true);
    frames(200);
    EXPECT_EQ(game.gameState, STATE_PLAYING);
    quitWithEscape();
    EXPECT_EQ(stage.read("config.dat").size(), 8u);
}

// Every run the game records, it accepts again: random play, several runs in a row, each kept
// and checked, on courses chosen at random in attract (longer to shorter and back, the
// player's own among them: the course fuzzers' seeds the game accepts). The first holds Left
// to the end of its run, so the sideways speed it leaves to the next run's starting state is
// far beyond any a driver steers; the presses include F11, which a check without a window
// never acts on. A run that enters its table asks for initials, and the keys held at its end
// are let go while they are typed. Every run checks with the player's own courses and, when
// it was not driven on one, without them; from the second on, each races the one before.
TEST_F(WholeGame, EveryRecordedRunChecks)
{
    const std::string data = stage.dir() + "/data", own = data + "/quindara/courses";
    std::filesystem::create_directories(own);
    for (const auto& seed :
         std::filesystem::directory_iterator(sourceDir() + "/tests/fuzz/corpus/level"))
        std::filesystem::copy_file(seed.path(), own + "/" + seed.path().filename().string());
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    startUp();
    tapKey(KEY_RETURN);
    showReadyBanner();
    recordRuns(stage.dir() + "/_resources", tiles);
    // The dummy driver's full screen is no window's: F11 is kept from asking for it, and only
    // starts the screen afresh, in the run and in its check alike.
    lockFullScreen(true);
    startFrameLoop(loop);
    std::mt19937 random(2026);
    const int keys[] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_LSHIFT, KEY_F11, KEY_F};
    bool held[std::size(keys)] = {};
    std::vector<bool> ownCourse;
    int switches = 0, entries = 0;
    bool courseOneScored = false;
    const int runs = 6;
    for (int run = 0; run < runs; ++run) {
        frames(1 + int(random() % 30));
        for (int step = int(random() % 7) - 3; step != 0; step += step > 0 ? -1 : 1, ++switches) {
            tapKey(step > 0 ? KEY_RIGHT : KEY_LEFT);
            frames(1 + int(random() % 3));
        }
        while (run == 2 && !chosenCourse()->own) { // one run on a course of the player's own
            tapKey(KEY_LEFT);
            frames(1);
            ++switches;
        }
        ownCourse.push_back(chosenCourse()->own);
        // From the second run on, the run before is raced as the ghost (the fifth with the
        // ghost switched off, the sixth on again): its trail travels in the new run's file,
        // and the check draws it as the run did.
        if (run >= 4)
            tapKey(KEY_G), frames(1);
        if (run > 0 && ghostRace.switchedOn)
            raceGhost(ghostRace.live, 1000 + run);
        tapKey(KEY_RETURN);
        if (run == 0) {
            pushKey(KEY_LEFT, true);
            pushKey(KEY_UP, true);
        }
        frames(1);
        ASSERT_EQ(game.gameState, STATE_PLAYING);
        for (int frame = 0; game.gameState != STATE_ATTRACT && frame < 20000; ++frame) {
            if (run > 0 && random() % 8 == 0) {
                const size_t k = random() % std::size(keys);
                pushKey(keys[k], held[k] = !held[k]);
            }
            if (run > 0 && random() % 500 == 0) { // a pause, and on again a little later
                tapKey(KEY_P);
                frames(int(random() % 40));
                tapKey(KEY_P);
            }
            const int before = game.gameState;
            frames(1);
            if (game.gameState == STATE_ATTRACT) {
                for (size_t k = 0; k < std::size(keys); ++k)
                    if (held[k])
                        pushKey(keys[k], held[k] = false);
                tapKey('a'), tapKey(KEY_RETURN);
                entries += placeFor(chosenCourse()->name, game.score) >= 0;
                courseOneScored = courseOneScored || (courseList.chosen == 0 && game.score > 0);
                ASSERT_TRUE(offerFinishedRun(before));
                SDL_Event left;
                while (SDL_PollEvent(&left)) // what the entry did not need
                    ;
            }
        }
        ASSERT_EQ(game.gameState, STATE_ATTRACT);
        if (run == 0) {
            EXPECT_LT(playerCar.lateralSpeed, -1000);
        }
        std::filesystem::copy_file(stage.path("last-run.qrp"),
                                   stage.path("run" + std::to_string(run) + ".qrp"));
    }
    quitWithEscape();
    stopRecording();
    unsetenv("XDG_DATA_HOME");
    EXPECT_GT(switches, 6);
    EXPECT_GT(entries, 0);
    EXPECT_GT(std::count(ownCourse.begin(), ownCourse.end(), true), 0);
    // The first course's best run is the one at the top of its table; the last, the last.
    ASSERT_EQ(stage.exists("best-run.qrp"), courseOneScored);
    const Finished last = runStagedGame(stage, "XDG_DATA_HOME=" + data, "--replay last --check");
    EXPECT_EQ(last.out,
              runStagedGame(stage, "XDG_DATA_HOME=" + data,
                            "--replay " + stage.path("run" + std::to_string(runs - 1) + ".qrp") +
                                " --check")
                  .out);
    if (courseOneScored) {
        const Finished best =
            runStagedGame(stage, "", "--replay best --course \"quindara ring\" --check");
        EXPECT_NE(best.out.find("score " + std::to_string(tableBest("Quindara Ring")) + ": ok"),
                  std::string::npos)
            << best.out;
    }
    for (int run : {1, 4, 5}) {
        Replay r;
        std::string error;
        ASSERT_TRUE(readReplayFile(stage.path("run" + std::to_string(run) + ".qrp"), r, error));
        EXPECT_EQ(r.ghostId, run == 4 ? 0u : 1000u + run);
        EXPECT_EQ(r.ghostSwitchedOn, run != 4);
        EXPECT_FALSE(r.ghost.points.empty() && run != 4);
    }
    // A run on an own course carries it: it checks where the course is not.
    for (int run = 0; run < runs; ++run)
        for (const bool withOwn : {true, false}) {
            const Finished f = runStagedGame(
                stage, withOwn ? "XDG_DATA_HOME=" + data : "XDG_DATA_HOME=" + stage.dir() + "/none",
                "--replay " + stage.path("run" + std::to_string(run) + ".qrp") + " --check");
            EXPECT_EQ(f.status, 0) << run << ": " << f.out << f.err;
            EXPECT_NE(f.out.find(": ok\n"), std::string::npos) << run << ": " << f.out;
            EXPECT_EQ(f.err, "") << run;
        }
}
