#include "shell/game.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "shell/hash.h"
#include "app/session.h"
#include "shell/intro.h"
#include "shell/loop.h"
#include "sim/player.h"
#include "support/stage.h"
#include <gtest/gtest.h>

TEST(ReplayFile, RoundTripsAndRefusesWhatIsNotAWholeReplay)
{
    Replay r{"v1.0.2b", 0x1234, 5000, {1, 2, 3}, {}};
    for (uint32_t i = 0; i < 40; ++i) {
        ReplayFrame f;
        f.events = {{SDL_KEYDOWN, 273}, {SDL_JOYBUTTONUP, uint16_t(i)}};
        f.ticks = {5000 + 19 * i, 5001 + 19 * i, 4000}; // a reading may go back, too
        f.digest.group[i % DIGEST_GROUPS] = uint16_t(i * 977);
        f.quit = i == 39;
        r.frames.push_back(f);
    }
    const std::vector<uint8_t> bytes = encodeReplay(r);
    Replay back;
    std::string error;
    ASSERT_TRUE(decodeReplay(bytes.data(), bytes.size(), back, error)) << error;
    EXPECT_EQ(encodeReplay(back), bytes);
    EXPECT_EQ(back.frames[7].ticks, r.frames[7].ticks);
    EXPECT_TRUE(back.frames[39].quit && !back.frames[38].quit);
    EXPECT_TRUE(back.frames[20].digest == r.frames[20].digest);
    EXPECT_EQ(differingGroups(r.frames[3].digest, r.frames[16].digest), "cars, screen");
    EXPECT_EQ(differingGroups(r.frames[0].digest, r.frames[9].digest), "state");
    // Every cut, every flipped byte, another magic or format version: refused with a reason.
    for (size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_FALSE(decodeReplay(bytes.data(), n, back, error)) << "cut at " << n;
        std::vector<uint8_t> damaged = bytes;
        damaged[n] ^= 0x40;
        EXPECT_FALSE(decodeReplay(damaged.data(), damaged.size(), back, error)) << "byte " << n;
        EXPECT_FALSE(error.empty());
    }
    // A file cut inside a field but with a sound checksum: the reader names where it ends.
    const size_t snapshotEnd = 4 + 2 + 1 + r.gameVersion.size() + 12 + r.snapshot.size();
    for (size_t n = 6; n + 4 < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
        const uint32_t sum = fnv1a(cut.data(), cut.size());
        for (int i = 0; i < 4; ++i)
            cut.push_back(uint8_t(sum >> 8 * i));
        EXPECT_FALSE(decodeReplay(cut.data(), cut.size(), back, error)) << "cut at " << n;
        const char* says = n < snapshotEnd ? "damaged (its starting state is cut short)"
                           : n >= snapshotEnd + 4 && n + 4 < r.frames.size()
                               ? "damaged (it claims too many frames)"
                               : "damaged (its frames do not add up)";
        EXPECT_EQ(error, says) << "cut at " << n;
    }
    std::vector<uint8_t> huge(MAX_REPLAY_BYTES + 1, 0);
    std::copy(bytes.begin(), bytes.begin() + 6, huge.begin());
    EXPECT_FALSE(decodeReplay(huge.data(), huge.size(), back, error));
    EXPECT_EQ(error, "too large for a replay");
}

// A run in this process, recorded as the game records: its file holds every frame from the
// start press to the quit, starts from the state the run started in, and is kept as the
// best run only when it set the high score.
TEST(ReplayRecording, ARunIsKeptWithItsStartingStateAndEveryFrame)
{
    StagedResources stage;
    Headless sdl(true);
    TileList tiles = loadCourse();
    const std::string folder = stage.dir() + "/_resources";
    for (int high : {1000000, 0}) {
        highScore = high;
        recordRuns(folder, tiles);
        FrameLoop loop;
        startFrameLoop(loop);
        runFrame(loop, tiles);
        const std::vector<uint8_t> before = saveSnapshot(loop);
        tapKey(KEY_RETURN);
        pushKey(KEY_UP, true);
        for (int i = 0; i < 100; ++i) {
            if (i == 40)
                pushKey(KEY_UP, false), pushButton(0, true), pushKey(KEY_LEFT, true);
            if (i == 70)
                pushButton(0, false), pushKey(KEY_LEFT, false);
            runFrame(loop, tiles);
        }
        tapKey(KEY_ESCAPE);
        EXPECT_TRUE(runFrame(loop, tiles));
        stopRecording();
        const int scored = score;
        Replay r;
        std::string error;
        ASSERT_TRUE(readReplayFile(folder + "/last-run.qrp", r, error)) << error;
        EXPECT_EQ(r.frames.size(), 101u); // the frame of the press, 99 more, the quit
        EXPECT_TRUE(r.frames.back().quit);
        ASSERT_FALSE(r.frames[0].events.empty()); // the frame of the start press holds it
        EXPECT_EQ(r.frames[0].events[0].code, KEY_RETURN);
        EXPECT_EQ(r.snapshot, before);
        FrameLoop restored;
        ASSERT_FALSE(restoreSnapshot({r.snapshot.begin(), r.snapshot.end() - 1}, restored));
        ASSERT_TRUE(restoreSnapshot(r.snapshot, restored));
        EXPECT_EQ(highScore, high);
        EXPECT_EQ(stage.exists("best-run.qrp"), high == 0);
        EXPECT_EQ(r.courseChecksum, courseChecksum(tiles));
        // Keys and buttons, pressed and let go: the game replays the run exactly.
        if (high == 0) {
            const Finished check =
                runStagedGame(stage, "", "--replay " + folder + "/last-run.qrp --check");
            EXPECT_EQ(check.out, "101 frames, score " + std::to_string(scored) + ": ok\n");
        }
    }
}
