// Runs that travel: a friend's run of their own course, watched, checked and taken in on a
// machine that never had the course.
#include "app/watch.h"
#include "platform/exit_status.h"
#include "platform/keys.h"
#include "replay/playback.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "rules/courses.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/course.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace fs = std::filesystem;

namespace
{
// A course file: the rows of a shipped course, its first row left out, under a name of its
// own.
void writeCourse(const std::string& path, int shipped, const std::string& name)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ifstream in(sourceDir() + "/data/0" + std::to_string(shipped) + ".lvl");
    std::ofstream out(path);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line) && !line.empty())
        out << line << "\n";
    out << "\nname: " << name << "\n";
}

// Every file the player keeps, with what it holds.
std::map<std::string, std::string> keptFiles(const StagedResources& stage)
{
    std::map<std::string, std::string> files;
    for (const std::string& root : {stage.dir() + "/mine", stage.path("runs")})
        if (fs::exists(root))
            for (const auto& f : fs::recursive_directory_iterator(root))
                if (f.is_regular_file()) {
                    std::ifstream in(f.path(), std::ios::binary);
                    files[f.path()] = {std::istreambuf_iterator<char>(in), {}};
                }
    files["scores.txt"] = stage.exists("scores.txt") ? stage.read("scores.txt") : "";
    return files;
}
} // namespace

TEST(Sharing, AFriendsRunIsCheckedTakenOnceAndAnAlteredOneChangesNothing)
{
    StagedResources stage{ALL_RESOURCES};
    const std::string sent = stage.dir() + "/sent.qrp", mine = stage.dir() + "/mine";
    // The friend drives a little on a course of their own, "Loop"...
    writeCourse(stage.dir() + "/friend/quindara/courses/loop.lvl", 4, "Loop");
    setenv("XDG_DATA_HOME", (stage.dir() + "/friend").c_str(), 1);
    {
        Headless sdl(true);
        TileList tiles = loadCourse();
        ASSERT_TRUE(chooseCourse(tiles, findCourse(courseList.courses, "Loop")));
        recordRuns(stage.dir(), tiles);
        FrameLoop loop;
        startRun(loop, tiles);
        pushKey(KEY_UP, true);
        for (int i = 0; i < 200; ++i)
            runFrame(loop, tiles);
        tapKey(KEY_ESCAPE);
        EXPECT_TRUE(runFrame(loop, tiles));
        stopRecording();
        fs::rename(stage.dir() + "/last-run.qrp", sent);
    }
    unsetenv("XDG_DATA_HOME");
    // ... and this player has another course of that name.
    writeCourse(mine + "/quindara/courses/loop.lvl", 3, "Loop");
    const std::string home = "XDG_DATA_HOME=" + mine;
    Finished f = runStagedGame(stage, home, "--replay " + sent + " --check");
    EXPECT_EQ(f.out, "202 frames, score " + std::to_string(game.score) + ": ok\n") << f.err;

    // Taken in once: the course kept apart under a name of its own, the run on its table.
    f = runStagedGame(stage, home, "--import " + sent);
    EXPECT_EQ(f.status, 0) << f.err;
    EXPECT_NE(f.out.find("\"Loop (imported)\" joins your courses"), std::string::npos) << f.out;
    EXPECT_NE(f.out.find("place 1 of the table of Loop (imported)"), std::string::npos);
    const auto taken = keptFiles(stage);
    EXPECT_EQ(taken.size(), 4u); // both courses, the table and the kept run
    f = runStagedGame(stage, home, "--import " + sent);
    EXPECT_NE(f.out.find("already in the table"), std::string::npos) << f.out;
    EXPECT_EQ(keptFiles(stage), taken);
    f = runStagedGame(stage, home, "--replay table:1 --course \"loop (imported)\" --check");
    EXPECT_NE(f.out.find(": ok"), std::string::npos) << f.err;

    // One input changed and the checksum mended, or one byte changed: refused, nothing kept.
    Replay r;
    std::string error;
    ASSERT_TRUE(readReplayFile(sent, r, error));
    for (ReplayEvent& e : r.events)
        if (e.type == SDL_KEYDOWN && e.code == KEY_UP) {
            e.code = KEY_LEFT;
            break;
        }
    ASSERT_TRUE(writeReplayFile(stage.dir() + "/altered.qrp", r));
    std::vector<uint8_t> damaged = encodeReplay(r);
    damaged[damaged.size() / 2] ^= 1;
    std::ofstream(stage.dir() + "/damaged.qrp", std::ios::binary)
        .write(reinterpret_cast<const char*>(damaged.data()), damaged.size());
    for (const auto& [file, status] :
         {std::pair{"altered", EXIT_REPLAY_DIFFERS}, std::pair{"damaged", EXIT_BAD_REPLAY}}) {
        f = runStagedGame(stage, home, "--import " + stage.dir() + "/" + file + ".qrp");
        EXPECT_EQ(f.status, status) << file;
        EXPECT_NE(f.err.find("nothing was imported"), std::string::npos) << file << f.err;
        EXPECT_EQ(keptFiles(stage), taken) << file;
    }
}

// On attract's table page, a digit watches that place's run in the game's own window; then the
// game is back as it was, recording again.
TEST(Sharing, ATablePlacesRunIsWatchedFromAttractAndTheGameGoesOn)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl(true);
    TileList tiles = loadCourse();
    const std::string folder = stage.path("");
    loadScoreTables(folder + "/scores.txt");
    settingsFile.settingsPath = stage.path("config.dat");
    recordRuns(settingsFolder(), tiles);
    FrameLoop loop;
    startRun(loop, tiles);
    pushKey(KEY_UP, true);
    for (int i = 0; i < 100; ++i)
        runFrame(loop, tiles);
    pushKey(KEY_UP, false);
    tapKey(KEY_ESCAPE);
    runFrame(loop, tiles);
    enterRun("Quindara Ring", 9, "ABC");
    keepTableRun(scoreTables.lastEntered);
    game.gameState = STATE_ATTRACT;
    runFrame(loop, tiles);
    std::vector<uint8_t> before, after;
    saveSnapshot(loop, before);
    EXPECT_FALSE(watchTableRun(2, tiles, loop)); // no second place
    ASSERT_TRUE(watchTableRun(1, tiles, loop));
    Replay r;
    std::string error;
    ASSERT_TRUE(readReplayFile(tableRunFile(folder, scoreTables.lastEntered.stamp), r, error));
    EXPECT_TRUE(playedDigest() == r.frames.back().digest); // played to its end, as recorded
    saveSnapshot(loop, after);
    EXPECT_EQ(after, before);
    EXPECT_FALSE(settingsFile.savesDisabled);
    // Recording again: the next run is kept as the last.
    stage.remove("last-run.qrp");
    tapKey(KEY_RETURN);
    runFrame(loop, tiles);
    tapKey(KEY_ESCAPE);
    runFrame(loop, tiles);
    stopRecording();
    EXPECT_TRUE(stage.exists("last-run.qrp"));
}
