// Measures what a frame costs.
//   bench_frame RESOURCES_DIR work      the game's own work per frame (update and drawing,
//                                      no present, no pacing), headless, on the real course and
//                                      on one of 200,000 rows, in attract and while playing,
//                                      with the run recorded as every real run is, and not
//   bench_frame RESOURCES_DIR present   whole frames as the player gets them, flip included and
//                                      the run recorded, in the window SDL opens (run it under
//                                      an X server), in blocks taken in turn with the floor (a
//                                      full-screen picture blitted and flipped, nothing else: the
//                                      least any frame can cost in that window), and their ratio
//                                      for attract's road, attract's table and a run
#include "app/music.h"
#include "app/session.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "present/assets.h"
#include "present/intro.h"
#include "private_copy.h"
#include "replay/recorder.h"
#include "replay/replay_file.h"
#include "rules/courses.h"
#include "rules/game_state.h"
#include "rules/ghost.h"
#include "rules/input.h"
#include "rules/loop.h"
#include "rules/view_step.h"
#include "save/preferences.h"
#include "sim/player.h"
#include "state/game.h"
#include "track/course.h"
#include <SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{
double msSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void report(const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times)
        sum += t;
    std::printf("%-44s mean %7.3f ms  median %7.3f ms  99th %7.3f ms\n", what, sum / times.size(),
                times[times.size() / 2], times[times.size() * 99 / 100]);
}

// `frames` frames of the game, timed one by one; the pacing sleep is left out.
void timeFrames(FrameLoop& loop, TileList& tiles, int frames, std::vector<double>& times)
{
    for (int i = 0; i < frames; ++i) {
        const auto f0 = std::chrono::steady_clock::now();
        runFrame(loop, tiles);
        times.push_back(msSince(f0));
        advanceVirtualTicks(19);
    }
}

// `frames` frames, in blocks of a hundred taken in turn with the run recorded, as every real
// run is, and not: what recording costs a frame, with the machine's drift shared alike.
void timeRecordedAndNot(FrameLoop& loop, TileList& tiles, int frames, const std::string& label)
{
    std::vector<double> times[2];
    for (int block = 0; block < frames / 100; ++block) {
        const bool recorded = block % 2 == 0;
        if (recorded)
            recordRuns(std::filesystem::current_path().string(), tiles);
        timeFrames(loop, tiles, 100, times[recorded]);
        stopRecording();
    }
    report((label + ", recorded").c_str(), times[1]);
    report((label + ", not recorded").c_str(), times[0]);
}

// Attract, then a run with the throttle held.
void measureGame(TileList& tiles, const std::string& label, int frames, bool compareRecording)
{
    FrameLoop loop;
    startFrameLoop(loop);
    game.frameCapOn = false;
    for (const char* phase : {"attract", "playing"}) {
        if (phase[0] == 'p') {
            pushKeyEvent(KEY_RETURN, true);
            pushKeyEvent(KEY_RETURN, false);
            runFrame(loop, tiles);
            pushKeyEvent(KEY_UP, true);
        }
        if (compareRecording) {
            timeRecordedAndNot(loop, tiles, frames, label + ", " + phase);
        } else {
            std::vector<double> times;
            timeFrames(loop, tiles, frames, times);
            report((label + ", " + phase).c_str(), times);
        }
    }
    pushKeyEvent(KEY_UP, false);
}

// The ghost on the longest shipped course: a run driven to its end and recorded (ten of them, as
// long as the longest run a player makes, are what a course's kept runs take), read back to be
// raced, and raced: its cost a frame, in blocks taken in turn with the same run unraced.
void measureGhost(TileList& tiles, const fs::path& folder)
{
    chooseCourse(tiles, 0);
    FrameLoop loop;
    startFrameLoop(loop);
    game.frameCapOn = false;
    recordRuns(folder.string(), tiles);
    runFrame(loop, tiles);
    pushKeyEvent(KEY_RETURN, true), pushKeyEvent(KEY_RETURN, false);
    runFrame(loop, tiles);
    pushKeyEvent(KEY_UP, true);
    for (int i = 0; i < 20000 && game.gameState != STATE_ATTRACT; ++i) {
        runFrame(loop, tiles);
        advanceVirtualTicks(19);
    }
    pushKeyEvent(KEY_UP, false);
    runFrame(loop, tiles);
    stopRecording();
    const fs::path file = folder / "last-run.qrp";
    Replay run;
    std::string error;
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        if (!readReplayFile(file.string(), run, error) ||
            courseChecksum(tiles) != run.courseChecksum)
            return;
        raceGhost(run.trail, run.fileChecksum);
        times.push_back(msSince(t0));
    }
    const double bytesAFrame = double(fs::file_size(file)) / run.frames.size();
    // A course's table keeps ten runs: how long they may be, each, in 2 MB.
    const double minutesIn2MB = 2e6 / 10 / bytesAFrame * 19 / 60000;
    std::printf("a run of %zu frames on %s: %.1f bytes a frame; ten runs of three minutes: %.2f "
                "MB; ten fit in 2 MB up to %.1f minutes each\n",
                run.frames.size(), run.courseName.c_str(), bytesAFrame,
                10 * bytesAFrame * (3 * 60 * 1000 / 19) / 1e6, minutesIn2MB);
    report("starting a ghost: its run read, checked, raced", times);
    std::vector<double> raced, alone;
    pushKeyEvent(KEY_RETURN, true), pushKeyEvent(KEY_RETURN, false);
    runFrame(loop, tiles);
    pushKeyEvent(KEY_UP, true);
    for (int block = 0; block < 30 && game.gameState != STATE_ATTRACT; ++block) {
        const bool on = block % 2 == 0;
        raceGhost(on ? run.trail : RunTrail(), 1);
        timeFrames(loop, tiles, 100, on ? raced : alone);
    }
    pushKeyEvent(KEY_UP, false);
    std::sort(raced.begin(), raced.end());
    std::sort(alone.begin(), alone.end());
    const double a = raced[raced.size() / 2], b = alone[alone.size() / 2];
    std::printf("a frame racing the ghost: median %.4f ms, alone %.4f ms: the ghost %.4f ms\n", a,
                b, a - b);
}

// The music: frames in a run with the course's tune playing (mixed by the audio thread into the
// disk driver's file, as it is for a player into the card) in blocks taken in turn with frames in
// silence.
void measureMusic(TileList& tiles)
{
    if (!soundDeviceOpen()) {
        std::printf("the music's cost: no sound device, not measured\n");
        return;
    }
    FrameLoop loop;
    startFrameLoop(loop);
    game.frameCapOn = false;
    pushKeyEvent(KEY_RETURN, true), pushKeyEvent(KEY_RETURN, false);
    runFrame(loop, tiles);
    pushKeyEvent(KEY_UP, true);
    std::vector<double> playing, silent;
    for (int block = 0; block < 30 && game.gameState == STATE_PLAYING; ++block) {
        const bool on = block % 2 == 0;
        preferences.musicOn = on;
        for (int i = 0; i < 100; ++i) {
            const auto f0 = std::chrono::steady_clock::now();
            keepMusic();
            runFrame(loop, tiles);
            (on ? playing : silent).push_back(msSince(f0));
            advanceVirtualTicks(19);
        }
    }
    pushKeyEvent(KEY_UP, false);
    musicStop();
    std::sort(playing.begin(), playing.end());
    std::sort(silent.begin(), silent.end());
    const double a = playing[playing.size() / 2], b = silent[silent.size() / 2];
    std::printf("a frame with the music: median %.4f ms, silent %.4f ms: the music %.4f ms\n", a, b,
                a - b);
}

// A course of `rows` rows: the real one, repeated.
void writeLongCourse(const fs::path& resources, int rows)
{
    std::ifstream in(resources / "01.lvl");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line) && !line.empty();)
        lines.push_back(line);
    std::ofstream out(resources / "01.lvl", std::ios::trunc);
    for (int i = 0; i < rows; ++i)
        out << lines[size_t(i) % lines.size()] << '\n';
}
} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc == 3 ? argv[2] : "";
    if (mode != "work" && mode != "present") {
        std::fprintf(stderr, "usage: bench_frame RESOURCES_DIR work|present\n");
        return 2;
    }
    const PrivateCopy copy(argv[1], "bench");
    const fs::path& work = copy.dir();
    setenv("SDL_AUDIODRIVER", "disk", 0);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
    useVirtualClock(true);
    resetEveryRoom();
    int status = 0;
    if (mode == "work") {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        for (int rows : {0, 200000}) {
            if (rows)
                writeLongCourse(work / "_resources", rows);
            resetEveryRoom();
            // From the course's lookup and check on: the whole start-up a player waits for.
            auto t0 = std::chrono::steady_clock::now();
            enterSession(false);
            TileList tiles;
            if (startSession({.headless = true, .course = ""}, tiles) != 0)
                return 1;
            std::printf("start-up with %d rows: %.0f ms\n", game.levelTileCount / 8, msSince(t0));
            measureGame(tiles, "frame work, " + std::to_string(game.levelTileCount / 8) + " rows",
                        4000, true);
            if (!rows) {
                // Right in attract: every shipped course in turn, each switch with the frame it
                // comes in (the course loaded whole, the choice written to disk, the frame drawn).
                std::vector<double> times;
                double longest = 0;
                FrameLoop loop;
                startFrameLoop(loop);
                for (int round = 0; round < 20; ++round)
                    for (size_t i = 0; i < courseList.courses.size(); ++i) {
                        const auto s0 = std::chrono::steady_clock::now();
                        pushKeyEvent(KEY_RIGHT, true);
                        pushKeyEvent(KEY_RIGHT, false);
                        runFrame(loop, tiles);
                        times.push_back(msSince(s0));
                        advanceVirtualTicks(19);
                        if (game.levelTileCount / 8 >= 2000)
                            longest = std::max(longest, times.back());
                    }
                report("switching course with its frame, every one", times);
                std::printf("switching to the longest, slowest of 20: %.3f ms\n", longest);
                measureGhost(tiles, work);
            }
            shutdown(tiles, false);
        }
    } else { // the player's 3x window: the game's frames beside the floor's, in turns
        enterSession(false);
        TileList tiles;
        status = startSession({}, tiles);
        if (status == 0) {
            SDL_Surface* picture = SDL_DisplayFormat(intro.introImage);
            recordRuns(work.string(), tiles);
            FrameLoop loop;
            startFrameLoop(loop);
            game.frameCapOn = false;
            std::vector<double> ours, least;
            auto page = [&](const char* what, int frames) {
                ours.clear(), least.clear();
                for (int block = 0; block < frames / 50; ++block) {
                    timeFrames(loop, tiles, 50, ours);
                    for (int i = 0; i < 50; ++i) {
                        const auto f0 = std::chrono::steady_clock::now();
                        SDL_BlitSurface(picture, nullptr, screen, nullptr);
                        SDL_Flip(screen);
                        least.push_back(msSince(f0));
                    }
                }
                std::sort(ours.begin(), ours.end());
                std::sort(least.begin(), least.end());
                std::printf("%-22s median %.3f ms, floor %.3f ms: ratio %.3f\n", what,
                            ours[ours.size() / 2], least[least.size() / 2],
                            ours[ours.size() / 2] / least[least.size() / 2]);
            };
            page("attract, the road", 300);
            while (!tablePageNext()) // on to the table's page
                timeFrames(loop, tiles, 1, ours);
            page("attract, the table", 300);
            pushKeyEvent(KEY_RETURN, true);
            pushKeyEvent(KEY_RETURN, false);
            runFrame(loop, tiles);
            pushKeyEvent(KEY_UP, true);
            page("a run, recorded", 600);
            stopRecording();
            pushKeyEvent(KEY_UP, false);
            for (int i = 0; i < 20000 && game.gameState != STATE_ATTRACT; ++i)
                timeFrames(loop, tiles, 1, ours);
            measureMusic(tiles);
        }
    }
    return status;
}
