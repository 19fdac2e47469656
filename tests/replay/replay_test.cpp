#include "app/session.h"
#include "platform/clock.h"
#include "platform/hash.h"
#include "platform/signals.h"
#include "present/intro.h"
#include "present/render.h"
#include "replay/playback.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "rules/game_state.h"
#include "rules/input.h"
#include "rules/loop.h"
#include "rules/states.h"
#include "rules/view_step.h"
#include "save/score_table.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "sim/player.h"
#include "state/game.h"
#include "support/stage.h"
#include "track/track.h"
#include <algorithm>
#include <csignal>
#include <cstring>
#include <gtest/gtest.h>

TEST(ReplayFile, RoundTripsAndRefusesWhatIsNotAWholeReplay)
{
    Replay r;
    r.courseChecksum = 0x1234, r.courseName = "Coast Road", r.seed = 5000, r.snapshot = {1, 2, 3};
    r.courseRows = {{2, 2, 16}, {-97, 100000}}; // what a run of an own course carries
    r.initials = "AB.", r.date = "2026-12-09", r.stamp = "0012-import";
    for (uint32_t i = 0; i < 40; ++i) {
        r.events.insert(r.events.end(), {{SDL_KEYDOWN, 273}, {SDL_JOYBUTTONUP, uint16_t(i)}});
        r.ticks.insert(r.ticks.end(),
                       {5000 + 19 * i, 5001 + 19 * i, 4000}); // a reading may go back, too
        FrameDigest d;
        d.group[i % DIGEST_GROUPS] = uint16_t(i * 977);
        r.closeFrame(d, i == 39);
    }
    const size_t framesEnd = encodeReplay(r).size() - 12; // an empty trail and no ghost: 8 bytes
    r.trail.points = {{40, 200, 0}, {-100, 340, 40}, {400, -100, 40}};
    r.trail.checkpointFrames = {1, 2}, r.trail.finalScore = 2 * SESSION_FRAMES;
    r.ghostId = 7, r.ghost = r.trail;
    const std::vector<uint8_t> bytes = encodeReplay(r);
    Replay back;
    std::string error;
    ASSERT_TRUE(decodeReplay(bytes.data(), bytes.size(), back, error)) << error;
    EXPECT_EQ(encodeReplay(back), bytes);
    EXPECT_EQ(back.courseName, "Coast Road");
    EXPECT_EQ(back.courseRows, r.courseRows);
    EXPECT_TRUE(back.trail == r.trail && back.ghost == r.trail && back.ghostId == 7);
    EXPECT_EQ(back.stamp + back.date + back.initials, "0012-import2026-12-09AB.");
    EXPECT_EQ(back.ticks, r.ticks);
    EXPECT_EQ(back.frames[7].firstTick, 21u);
    EXPECT_EQ(back.frames[7].eventCount, 2u);
    EXPECT_TRUE(back.frames[39].quit && !back.frames[38].quit);
    EXPECT_TRUE(back.frames[20].digest == r.frames[20].digest);
    EXPECT_EQ(differingGroups(r.frames[3].digest, r.frames[16].digest), "cars, screen");
    EXPECT_EQ(differingGroups(r.frames[0].digest, r.frames[9].digest), "state");
    EXPECT_EQ(differingGroups(r.frames[38].digest, r.frames[39].digest), "time, cars");
    // Every cut, every flipped byte, another magic or format version: refused with a reason.
    for (size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_FALSE(decodeReplay(bytes.data(), n, back, error)) << "cut at " << n;
        std::vector<uint8_t> damaged = bytes;
        damaged[n] ^= 0x40;
        EXPECT_FALSE(decodeReplay(damaged.data(), damaged.size(), back, error)) << "byte " << n;
        EXPECT_FALSE(error.empty());
    }
    // A file cut inside a field but with a sound checksum: the reader names where it ends.
    const size_t nameEnd = 4 + 2 + 4 + 1 + r.courseName.size();
    // The rows (a count, then each row's count and codes: -97 takes 2 bytes, 100000 takes 3),
    // then the initials, the day and the stamp, each after its length.
    const size_t carriedEnd = nameEnd + 1 + (1 + 3) + (1 + 2 + 3) + (1 + 3) + (1 + 10) + (1 + 11);
    const size_t snapshotEnd = carriedEnd + 8 + r.snapshot.size();
    for (size_t n = 6; n + 4 < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
        const uint32_t sum = fnv1a(cut.data(), cut.size());
        for (int i = 0; i < 4; ++i)
            cut.push_back(uint8_t(sum >> 8 * i));
        EXPECT_FALSE(decodeReplay(cut.data(), cut.size(), back, error)) << "cut at " << n;
        const char* says = n < nameEnd       ? "damaged (its course's name is cut short)"
                           : n < carriedEnd  ? "damaged (the course or the table entry it carries)"
                           : n < snapshotEnd ? "damaged (its starting state is cut short)"
                           : n >= framesEnd
                               ? "damaged (the way its car went, or its ghost's, does not add up)"
                           : n >= snapshotEnd + 4 && n + 4 < r.frames.size()
                               ? "damaged (it claims too many frames)"
                               : "damaged (its frames do not add up)";
        EXPECT_EQ(error, says) << "cut at " << n;
    }
    // Only key and button presses and releases, and buttons SDL can number, are taken.
    for (const ReplayEvent e :
         {ReplayEvent{SDL_MOUSEBUTTONDOWN, 1}, ReplayEvent{SDL_JOYBUTTONDOWN, 256},
          ReplayEvent{SDL_JOYBUTTONDOWN, 255}}) {
        Replay odd = r;
        odd.events[3] = e;
        const std::vector<uint8_t> oddBytes = encodeReplay(odd);
        const bool taken = decodeReplay(oddBytes.data(), oddBytes.size(), back, error);
        EXPECT_EQ(taken, e.code == 255) << error;
        EXPECT_EQ(error, taken ? error : "damaged (frame 1 holds an event the game cannot take)");
    }
    // What a run carries is held to what the game makes: a trail off the screen or jumping
    // along the road, checkpoints out of order, a table entry whose stamp could name another
    // file; each value next to its bound is taken.
    struct Carried {
        void (*change)(Replay&);
        bool taken;
    } carried[] = {
        {[](Replay& x) { x.trail.points[1].x = -101; }, false},
        {[](Replay& x) { x.trail.points[2].screenY = 341; }, false},
        {[](Replay& x) { x.trail.points[1].progress = 41; }, false},
        {[](Replay& x) { x.trail.points[2].progress = -1; }, false},
        {[](Replay& x) { x.trail.points[2].progress = 0; }, true}, // backing up
        {[](Replay& x) { x.trail.points[0].progress = 1, x.trail.points[1].progress = 40; }, false},
        {[](Replay& x) {
             x.ghost.checkpointFrames = {2, 2};
         },
         false},
        {[](Replay& x) { x.ghost.checkpointFrames = {3}; }, false},
        {[](Replay& x) { x.ghost.finalScore = 2 * SESSION_FRAMES + 1; }, false},
        {[](Replay& x) { x.stamp = "../x"; }, false},
        {[](Replay& x) { x.initials = "ab "; }, false},
        {[](Replay& x) { x.date = "2026/12/09"; }, false},
        {[](Replay& x) { x.courseRows[0][0] = 100001; }, false},
        {[](Replay& x) { x.courseRows[0] = std::vector<int>(65, 2); }, false},
        {[](Replay& x) { x.courseRows[0] = std::vector<int>(64, 2); }, true},
        {[](Replay& x) { x.initials = x.date = x.stamp = ""; }, true},
    };
    for (const Carried& c : carried) {
        Replay odd = r;
        c.change(odd);
        const std::vector<uint8_t> oddBytes = encodeReplay(odd);
        EXPECT_EQ(decodeReplay(oddBytes.data(), oddBytes.size(), back, error), c.taken)
            << &c - carried;
    }
    // A course's name is text: it is printed, and looked for among the courses.
    Replay named = r;
    named.courseName = "Coast\nRoad";
    const std::vector<uint8_t> namedBytes = encodeReplay(named);
    EXPECT_FALSE(decodeReplay(namedBytes.data(), namedBytes.size(), back, error));
    EXPECT_EQ(error, "damaged (its course's name is not text)");
    // The game keeps a run from the frame of its start press on: never one of no frames.
    Replay none = r;
    none.frames.clear();
    const std::vector<uint8_t> noFrames = encodeReplay(none);
    EXPECT_FALSE(decodeReplay(noFrames.data(), noFrames.size(), back, error));
    EXPECT_EQ(error, "damaged (it holds no frames)");
    std::vector<uint8_t> huge(MAX_REPLAY_BYTES + 1, 0);
    std::copy(bytes.begin(), bytes.begin() + 6, huge.begin());
    EXPECT_FALSE(decodeReplay(huge.data(), huge.size(), back, error));
    EXPECT_EQ(error, "too large for a replay");
}

// A run in this process, recorded as the game records: its file holds every frame from the
// start press to the quit and starts from the state the run started in; a run quit before its
// end never enters its table, so it is never kept as the best, whatever its score.
TEST(ReplayRecording, ARunIsKeptWithItsStartingStateAndEveryFrame)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl(true);
    TileList tiles = loadCourse();
    const std::string folder = stage.dir() + "/_resources";
    for (int high : {1000000, 0, -1}) {
        game.highScore = std::max(high, 0);
        stage.remove("best-run.qrp");
        recordRuns(folder, tiles);
        FrameLoop loop;
        startFrameLoop(loop);
        runFrame(loop, tiles);
        std::vector<uint8_t> before;
        saveSnapshot(loop, before);
        tapKey(KEY_RETURN);
        pushKey(KEY_UP, true);
        for (int i = 0; i < 100; ++i) {
            if (i == 40)
                pushKey(KEY_UP, false), pushButton(0, true), pushKey(KEY_LEFT, true);
            if (i == 70)
                pushButton(0, false), pushKey(KEY_LEFT, false);
            if (i == 80) { // the window lost for a while: paused until the player's own press
                SDL_Event lost = {};
                lost.type = SDL_ACTIVEEVENT;
                lost.active.state = SDL_APPINPUTFOCUS;
                SDL_PushEvent(&lost);
            }
            if (i == 90)
                tapKey(KEY_P);
            runFrame(loop, tiles);
        }
        if (high < 0)
            stage.write("config.dat", std::string("\x40\x4b\x4c\x00\x40\x00\x00\x00", 8));
        // The first run ends with Escape, the second with a signal: both replay to the end.
        if (high != 0)
            tapKey(KEY_ESCAPE);
        else
            installQuitSignals(), raise(SIGTERM);
        EXPECT_TRUE(runFrame(loop, tiles));
        stopRecording();
        clearQuitSignal();
        const int scored = game.score;
        Replay r;
        std::string error;
        ASSERT_TRUE(readReplayFile(folder + "/last-run.qrp", r, error)) << error;
        EXPECT_EQ(r.frames.size(), 101u); // the frame of the press, 99 more, the quit
        EXPECT_TRUE(r.frames.back().quit);
        ASSERT_NE(r.frames[0].eventCount, 0u); // the frame of the start press holds it
        EXPECT_EQ(r.events[0].code, KEY_RETURN);
        EXPECT_EQ(
            std::count_if(r.events.begin(), r.events.end(),
                          [](ReplayEvent e) { return e.type == SDL_KEYDOWN && e.code == KEY_P; }),
            2); // the lost window kept as a start press, and the player's own
        EXPECT_EQ(r.snapshot, before);
        FrameLoop restored;
        ASSERT_FALSE(restoreSnapshot({r.snapshot.begin(), r.snapshot.end() - 1}, restored));
        ASSERT_TRUE(restoreSnapshot(r.snapshot, restored));
        EXPECT_EQ(game.highScore, std::max(high, 0));
        EXPECT_FALSE(stage.exists("best-run.qrp")); // quit before its end: never on the table
        EXPECT_EQ(r.courseChecksum, courseChecksum(tiles));
        // Keys and buttons, pressed and let go: the game replays the run exactly.
        if (high == 0) {
            const Finished check =
                runStagedGame(stage, "", "--replay " + folder + "/last-run.qrp --check");
            EXPECT_EQ(check.out, "101 frames, score " + std::to_string(scored) + ": ok\n");
        }
    }
}

// A run that enters its table is kept with its entry (its initials and day in it), and goes
// when the entry leaves the table; a stamp that could name another file names none.
TEST(ReplayRecording, ATableEntrysRunStaysAsLongAsTheEntry)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl(true);
    TileList tiles = loadCourse();
    const std::string folder = stage.dir() + "/_resources";
    loadScoreTables(folder + "/scores.txt");
    recordRuns(folder, tiles);
    FrameLoop loop;
    startRun(loop, tiles);
    tapKey(KEY_ESCAPE);
    runFrame(loop, tiles);
    enterRun("Quindara Ring", 5, "ABC");
    const TableEntry entry = scoreTables.lastEntered;
    keepTableRun(entry);
    stopRecording();
    Replay r;
    std::string error;
    ASSERT_TRUE(readReplayFile(tableRunFile(folder, entry.stamp), r, error)) << error;
    EXPECT_EQ(r.initials + r.date + r.stamp, "ABC" + entry.date + entry.stamp);
    for (int i = 0; i < TABLE_PLACES - 1; ++i)
        enterRun("Quindara Ring", 100 + i, "XYZ");
    EXPECT_EQ(pruneTableRuns(folder), 0); // tenth: still on the table
    enterRun("Quindara Ring", 200, "XYZ");
    EXPECT_EQ(pruneTableRuns(folder), 1);
    EXPECT_FALSE(stage.exists("runs/" + entry.stamp + ".qrp"));
    const std::string refused[] = {"../x", "a/b", "", "ABC", "1-a.", std::string(38, '1') + "-az"};
    for (const std::string& stamp : refused)
        EXPECT_EQ(tableRunFile(folder, stamp), "") << stamp;
    EXPECT_NE(tableRunFile(folder, std::string(37, '1') + "-az"), "");
}

// A field added to the snapshot, or moved, changes its layout: the replay format is raised
// with it, so that older replays are refused as another version's instead of misread.
TEST(ReplayFormat, IsRaisedWithEveryChangeOfTheSnapshot)
{
    EXPECT_EQ(snapshotLayout(), REPLAY_FORMAT_LAYOUT)
        << "the snapshot is now 0x" << std::hex << snapshotLayout()
        << ": raise REPLAY_FORMAT, set REPLAY_FORMAT_LAYOUT to this, and record the replays "
           "again (make replays NEW_FORMAT=1)";
}

// The screen's checksum sees any one changed bit, and two top bits changed together, which
// a plain word-wise FNV misses a quarter of the time.
TEST(ReplayDigest, TheScreenChecksumSeesOneOrTwoChangedBits)
{
    StagedResources stage;
    Headless sdl;
    auto* pixels = static_cast<uint8_t*>(screen->pixels);
    const size_t bytes = size_t(screen->pitch) * screen->h;
    for (size_t i = 0; i < bytes; ++i)
        pixels[i] = uint8_t(i * 7 + (i >> 9));
    const uint64_t base = screenChecksum();
    int missed = 0;
    for (size_t i = 0; i < bytes; i += 97) {
        for (int bit = 0; bit < 8; ++bit) {
            pixels[i] ^= uint8_t(1 << bit);
            missed += screenChecksum() == base;
            pixels[i] ^= uint8_t(1 << bit);
        }
        const size_t j = (i * 7919 + 8) % bytes | 7; // the top byte of another word
        pixels[i | 7] ^= 0x80, pixels[j] ^= 0x80;
        missed += (i | 7) != j && screenChecksum() == base;
        pixels[i | 7] ^= 0x80, pixels[j] ^= 0x80;
    }
    EXPECT_EQ(missed, 0);
}

// The clock and input hooks are SDL's own unless a replay plays, and SDL's again after it.
TEST(ReplayPlayback, TakesTheClockAndTheInputOnlyWhilePlaying)
{
    StagedResources stage;
    Headless sdl;
    Replay r;
    r.ticks = {7000};
    r.events = {{SDL_KEYDOWN, KEY_F}};
    r.closeFrame(FrameDigest(), false);
    for (bool playing : {false, true, false}) {
        if (playing)
            startPlayback(r, true);
        else
            stopPlayback();
        setVirtualTicks(1000);
        const bool shown = game.showDiagnostics;
        takeInput(); // a recorded F switches the overlay; the queue is empty
        delayMs(5);
        EXPECT_EQ(ticksNow(), playing ? 7000u : 1005u) << playing;
        EXPECT_EQ(game.showDiagnostics != shown, playing) << playing;
    }
}

// A replay is untrusted: a starting state holding what the game cannot produce is refused,
// naming it, and the nearest value the game can produce is taken.
TEST(ReplaySnapshot, RefusesEveryValueTheGameCannotProduce)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl(true);
    TileList tiles = loadCourse();
    struct Case {
        const char* what;
        int* field;
        int refused, nearest;
    } cases[] = {
        {"the game state", &game.gameState, 4, 3},
        {"the game state", &game.gameState, -1, 0},
        {"the volume", &game.masterVolume, 129, 128},
        {"the volume bar's age", &game.volumeBarAge, 52, 51},
        {"the score", &game.score, -1, 0},
        {"the score", &game.score, 2 * SESSION_FRAMES + 1, 2 * SESSION_FRAMES},
        {"the high score", &game.highScore, 2 * SESSION_FRAMES + 1, 2 * SESSION_FRAMES},
        {"the distance mark", &game.distanceMark, game.levelTileCount / 8 + 1,
         game.levelTileCount / 8},
        {"the distance mark", &game.lastScoredMark, -1, 0},
        {"the time limit", &game.timeLimit, SESSION_FRAMES + 1, SESSION_FRAMES},
        {"the paused car's speed", &game.savedPlayerSpeed, 1, 0},
        {"the paused car's speed", &game.savedPlayerSpeed, -CAR_SPEED_LIMIT - 1, -CAR_SPEED_LIMIT},
        {"a car's speed", &playerCar.lateralSpeed, LATERAL_SPEED_LIMIT + 1, LATERAL_SPEED_LIMIT},
        {"a car's kind", &trafficCar.kind, 2, 1},
        {"a car's state", &playerCar.state, 2, 3},
        {"a car's position", &trafficCar.y, -2001, -2000},
        {"a car's speed", &playerCar.speed, -CAR_SPEED_LIMIT - 1, -CAR_SPEED_LIMIT},
        {"a car's colour", &trafficCar.nextColour, 4, 3},
        {"a car's lane", &trafficCar.nextLane, 3, 2},
        {"a car's sound channel", &playerCar.engineChannel, 8, 7},
        {"the crash spin step", &crashSpin.crashFrameStep, SPIN_STEPS, SPIN_STEPS - 1},
        {"the crash spin step", &crashSpin.crashFrameStep, -1, 0},
        {"the checkpoint and sign counters", &markerCounters.warnOpenFrames, 101, 100},
        {"the checkpoint and sign counters", &markerCounters.checkpointMessageAge, 100, 99},
        {"the scroll", &trackView.scrollY, scrollStartY + 1, scrollStartY},
        {"a marker", &trackView.trackMarkers[7].tileIndex, game.levelTileCount,
         game.levelTileCount - 1},
        {"the blink counters", &blinks.messageBlinkCounter, 21, 20},
    };
    FrameLoop loop;
    std::vector<uint8_t> bytes;
    for (const Case& c : cases) {
        for (const bool refused : {true, false}) {
            const int kept = *c.field;
            *c.field = refused ? c.refused : c.nearest;
            saveSnapshot(loop, bytes);
            std::string why;
            EXPECT_EQ(restoreSnapshot(bytes, loop, &why), !refused) << c.what << " " << *c.field;
            EXPECT_EQ(why, refused
                               ? std::string("its starting state holds ") + c.what + " out of range"
                               : "");
            *c.field = kept;
        }
    }
    for (const int64_t counted : {int64_t(SESSION_FRAMES) + 1, int64_t(SESSION_FRAMES)}) {
        loop.framesCounted = counted;
        saveSnapshot(loop, bytes);
        EXPECT_EQ(restoreSnapshot(bytes, loop), counted == SESSION_FRAMES) << counted;
    }
}

// Every number in a replay's starting state is bounded on both sides: walked field by field,
// its largest and its smallest values are refused (clock readings, which may hold any value,
// aside). A field added without its bounds fails here.
TEST(ReplaySnapshot, EveryNumberInItIsBoundedOnBothSides)
{
    StagedResources stage{ALL_RESOURCES};
    Headless sdl(true);
    TileList tiles = loadCourse();
    struct Field {
        size_t at, size;
        FieldKind kind;
    };
    struct Walk : StateVisitor {
        std::vector<Field> fields;
        size_t at = 0;
        void field(StateGroup, void*, size_t size, FieldKind kind) override
        {
            fields.push_back({at, size, kind});
            at += size;
        }
    } walk;
    FrameLoop loop;
    visitGameState(walk);
    visitFrameLoop(walk, loop);
    std::vector<uint8_t> good;
    saveSnapshot(loop, good);
    ASSERT_EQ(walk.at, good.size());
    ASSERT_TRUE(restoreSnapshot(good, loop));
    int walked = 0;
    for (const Field& f : walk.fields) {
        if (f.kind != FIELD_NUMBER)
            continue;
        for (size_t element = 0; element < f.size; element += 4) { // every number is 4 or 8 bytes
            const size_t width = f.size == 8 ? 8 : 4;
            for (const bool high : {true, false}) {
                std::vector<uint8_t> bytes = good;
                // The largest signed value, and the one next to the smallest (as a float, a
                // NaN and a tiny negative number).
                const uint64_t top = uint64_t(1) << (8 * width - 1);
                const uint64_t value = high ? top - 1 : top + 1;
                std::memcpy(&bytes[f.at + element], &value, width); // the machine's order
                EXPECT_FALSE(restoreSnapshot(bytes, loop))
                    << "the number at byte " << f.at + element
                    << (high ? " (largest)" : " (smallest)");
            }
            ++walked;
            if (width == 8)
                break;
        }
    }
    EXPECT_GT(walked, 100);
}
