#include "app/watch.h"
#include "app/own_runs.h"
#include "app/session.h"
#include "platform/exit_status.h"
#include "platform/signals.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "present/assets.h"
#include "present/render.h"
#include "present/text.h"
#include "replay/playback.h"
#include "replay/recorder.h"
#include "rules/courses.h"
#include "rules/ghost.h"
#include "rules/loop.h"
#include "save/game_files.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "state/game.h"
#include "track/course.h"
#include <SDL.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace
{
int viewerFrame = 0;

// Over a replay being watched: "REPLAY" blinking at the top of the panel.
void drawReplayLabel()
{
    // Right-aligned in the panel, so its last letter stays on the screen.
    static int width = -1;
    if (width < 0 && (!smallFont || TTF_SizeText(smallFont, "REPLAY", &width, nullptr) != 0))
        width = 0;
    if (++viewerFrame % 40 < 20)
        drawSmallText(screen, "REPLAY", std::min(273, SCREEN_WIDTH - 2 - width), 14, 255, 220, 0);
}

// The viewer's own keys while watching: Escape leaves, Q and W set the viewer's volume.
// Returns false when the viewer has had enough.
bool viewerKeys(int& volume)
{
    static bool up = false, down = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP)
            continue;
        const bool pressed = e.type == SDL_KEYDOWN;
        if (e.key.keysym.sym == SDLK_ESCAPE && pressed)
            return false;
        if (e.key.keysym.sym == SDLK_q)
            up = pressed;
        if (e.key.keysym.sym == SDLK_w)
            down = pressed;
    }
    const int next = volume + (up ? 1 : 0) - (down ? 1 : 0);
    if (next != volume && next >= 0 && next <= 128) {
        volume = next;
        setViewerVolume(volume);
    }
    return !quitSignalled();
}

void printDigest(size_t frame, const FrameDigest& digest, const char* end)
{
    std::printf("%zu", frame);
    for (int g = 0; g < DIGEST_GROUPS; ++g)
        std::printf(" %s=%04x", DIGEST_GROUP_NAMES[g], digest.group[g]);
    std::fputs(end, stdout);
}

// The replay a command line names: a file, or the player's last run, best run or a table
// entry's run. False, with one line said, when it cannot be had.
bool findReplay(const std::string& named, const std::string& course, std::string& path,
                Replay& replay)
{
    path = named;
    const bool tablePlace = named.compare(0, 6, "table:") == 0;
    if (named == "last" || named == "best" || tablePlace) {
        // Of the course asked for, or of the one chosen last time.
        const std::string wanted = course.empty() ? rememberedCourse() : course;
        const int index = wanted.empty() ? 0 : findCourse(courseList.courses, wanted);
        if (tablePlace)
            loadScoreTables(settingsFolder() + "/scores.txt");
        path = index < 0 && named == "best" ? settingsFolder() + "/" + bestRunFile(wanted, false)
                                            : ownRunFile(named, index);
        if (path.empty()) {
            std::fprintf(stderr, "Quindara: the table of %s has no place %s.\n",
                         index >= 0 ? courseList.courses[index].name.c_str() : wanted.c_str(),
                         named.c_str() + 6);
            return false;
        }
        if (access(path.c_str(), F_OK) != 0) {
            std::fprintf(stderr, "Quindara: no %s run recorded yet (%s does not exist).\n",
                         tablePlace ? "such" : named.c_str(), path.c_str());
            return false;
        }
    }
    std::string error;
    if (!readReplayFile(path, replay, error)) {
        std::fprintf(stderr, "Quindara: %s: %s.\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}
} // namespace

namespace
{
// --dump --recorded: the digests as the file holds them, stopping when asked to.
int listRecordedDigests(const Replay& replay)
{
    for (size_t i = 0; i < replay.frames.size(); ++i) {
        if (quitSignalled()) {
            std::printf("stopped after %zu frames\n", i);
            return 128 + quitSignalNumber();
        }
        printDigest(i, replay.frames[i].digest, "\n");
    }
    return 0;
}

// The replay's frames played through, each digest compared with its recording.
struct Played {
    size_t frames = 0;  // how many were played
    size_t differs = 0; // the first that differs (the frame count when none does)
    std::string groups; // what differs in it
    bool stopped = false;
};

Played playFrames(const Replay& replay, const Options& options, FrameLoop& loop, TileList& tiles,
                  bool headless)
{
    Played p;
    p.differs = replay.frames.size();
    int volume = settingsFile.settings.volume;
    for (size_t i = 0; i < replay.frames.size(); ++i) {
        if (!headless && !viewerKeys(volume))
            break;
        // A check or a dump asked to stop says so: it is not a frame that differs.
        if ((p.stopped = headless && quitSignalled()))
            break;
        const bool quit = runFrame(loop, tiles);
        if ((p.stopped = headless && quitSignalled()))
            break;
        ++p.frames;
        const ReplayFrame& recorded = replay.frames[i];
        const FrameDigest& digest = playedDigest();
        if (options.dump)
            printDigest(i, digest, digest == recorded.digest ? "\n" : " (recorded differs)\n");
        if (p.differs == replay.frames.size() &&
            (!(digest == recorded.digest) || quit != recorded.quit)) {
            p.differs = i;
            p.groups = quit != recorded.quit ? "state" : differingGroups(digest, recorded.digest);
            if (options.check)
                break;
        }
        if (quit)
            break;
    }
    return p;
}
} // namespace

bool watchTableRun(int place, TileList& tiles, FrameLoop& loop)
{
    Replay replay;
    std::string error;
    const int course = courseList.chosen;
    const size_t listed = courseList.courses.size();
    const std::string path = ownRunFile("table:" + std::to_string(place), course);
    if (path.empty() || !readReplayFile(path, replay, error))
        return false;
    // What the game was, to be given back: attract's state, the ghost raced next, the saves.
    std::vector<uint8_t> before;
    saveSnapshot(loop, before);
    const GhostRace ghost = ghostRace;
    const bool savesWere = settingsFile.savesDisabled;
    stopRecording();
    soundHalt(-1);
    settingsFile.savesDisabled = true;
    lockFullScreen(true);
    beforeFlip = drawReplayLabel;
    setViewerVolume(game.masterVolume); // Q and W are the viewer's while it plays
    if (chooseRunCourse(replay, tiles) >= 0 && restoreSnapshot(replay.snapshot, loop)) {
        ghostRace.switchedOn = replay.ghostSwitchedOn;
        raceGhost(replay.ghost, replay.ghostId);
        startPlayback(replay, false);
        Options watching;
        playFrames(replay, watching, loop, tiles, false);
        stopPlayback();
    }
    beforeFlip = nullptr;
    lockFullScreen(false);
    soundHalt(-1);
    setViewerVolume(-1);
    if (courseList.chosen != course)
        chooseCourse(tiles, course);
    courseList.courses.resize(listed); // a course the run carried was this watch's alone
    restoreSnapshot(before, loop);
    soundVolume(game.masterVolume);
    ghostRace = ghost;
    settingsFile.savesDisabled = savesWere;
    recordRuns(settingsFolder(), tiles);
    return true;
}

int watchReplay(const Options& options)
{
    enterSession(true);
    std::string path;
    Replay replay;
    if (!findReplay(options.replay, options.course, path, replay))
        return EXIT_BAD_REPLAY;
    if (options.recorded)
        return listRecordedDigests(replay);
    const bool headless = options.check || options.dump;
    TileList tiles;
    settingsFile.savesDisabled = true; // a replay never saves, not even when its run ends
    int status = startSession({.fullScreen = options.fullscreen,
                               .scale = options.scale,
                               .withSound = true,
                               .headless = headless,
                               .course = options.course},
                              tiles);
    if (status != 0)
        return status;
    FrameLoop loop;
    // The window, where there is one, is the viewer's: recorded F11 presses leave it be.
    lockFullScreen(true);
    if (!headless) {
        setViewerVolume(settingsFile.settings.volume); // the viewer's own, from the settings
        beforeFlip = drawReplayLabel;
    }
    // The run's own course, among the shipped ones and the player's, or the one it carries.
    const int named = findCourse(courseList.courses, replay.courseName);
    if (chooseRunCourse(replay, tiles) >= 0) {
        // its course is chosen
    } else if (named < 0) {
        std::fprintf(stderr,
                     "Quindara: %s was recorded on the course \"%s\", which is not installed.\n",
                     path.c_str(), replay.courseName.c_str());
        status = EXIT_BAD_REPLAY;
    } else {
        std::fprintf(stderr,
                     "Quindara: %s was recorded on another course of the name \"%s\" than the "
                     "one installed (%s).\n",
                     path.c_str(), replay.courseName.c_str(),
                     courseList.courses[named].path.c_str());
        status = EXIT_BAD_REPLAY;
    }
    if (status != 0) {
        // said above
    } else if (std::string why; !restoreSnapshot(replay.snapshot, loop, &why)) {
        std::fprintf(stderr, "Quindara: %s: damaged (%s).\n", path.c_str(), why.c_str());
        status = EXIT_BAD_REPLAY;
    }
    Played played;
    if (status == 0) {
        // The ghost it raced, as it raced it.
        ghostRace.switchedOn = replay.ghostSwitchedOn;
        raceGhost(replay.ghost, replay.ghostId);
        startPlayback(replay, headless);
        played = playFrames(replay, options, loop, tiles, headless);
        stopPlayback();
    }
    beforeFlip = nullptr;
    lockFullScreen(false);
    const int finalScore = game.score;
    // Where its car went is part of what the run claims (a ghost is raced on it): it must
    // agree with the run played.
    const bool trailAgrees = played.differs < replay.frames.size() ||
                             played.frames < replay.frames.size() || ghostRace.live == replay.trail;
    shutdown(tiles, false);
    if (status != 0)
        return status;
    if (played.stopped) {
        std::printf("stopped after %zu frames\n", played.frames);
        return 128 + quitSignalNumber();
    }
    if (options.check) {
        if (played.differs < replay.frames.size()) {
            std::printf("%zu frames, score %d: frame %zu differs (%s)\n", replay.frames.size(),
                        finalScore, played.differs, played.groups.c_str());
            return EXIT_REPLAY_DIFFERS;
        }
        if (!trailAgrees) {
            std::printf("%zu frames, score %d: the way its car went differs\n",
                        replay.frames.size(), finalScore);
            return EXIT_REPLAY_DIFFERS;
        }
        std::printf("%zu frames, score %d: ok\n", replay.frames.size(), finalScore);
    }
    return 0;
}
