// Recording every run: the events readInput took, every clock reading and a digest per
// frame, from the state the run started in.
#include "replay/recorder.h"
#include "platform/clock.h"
#include "platform/folders.h"
#include "platform/keys.h"
#include "platform/signals.h"
#include "platform/sound.h"
#include "replay/replay_file.h"
#include "rules/ghost.h"
#include "rules/input.h"
#include "rules/loop.h"
#include "save/game_files.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "state/game.h"
#include "track/course.h"
#include <SDL.h>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sys/stat.h>

namespace
{
std::string recordFolder;
const TileList* recordTiles = nullptr; // the course played, whichever is chosen
// The run being kept. Its lists keep their storage from run to run (they are reserved when
// recording starts and grow by doubling in a very long run), so a frame allocates nothing.
Replay run;
bool runRecording = false;          // a run is under way and being kept
std::vector<uint8_t> frameSnapshot; // the state this attract frame began in
uint32_t frameSeed = 0;

// What the run carries beside its frames: where its car went, the ghost it raced, and its
// course's rows when the course is the player's own (a friend may not have it).
void completeRun()
{
    run.trail = ghostRace.live;
    run.ghostSwitchedOn = ghostRace.switchedOn;
    run.ghostId = ghostRace.ghostId;
    run.ghost = ghostRace.ghostId ? ghostRace.ghost : RunTrail();
    const Course* course = chosenCourse();
    CourseText text;
    if (course && course->own && readCourseText(course->path, text) &&
        courseChecksum(text.rows) == run.courseChecksum)
        run.courseRows = std::move(text.rows);
}

void finishRun()
{
    runRecording = false;
    completeRun();
    if (!writeReplayFile(recordFolder + "/last-run.qrp", run))
        return; // a replay that cannot be kept costs nothing of the game
    // The best run is the one at the top of its course's table, which ranks final scores and
    // puts an equal score below the one already there. The table is read again first: another
    // copy of the game may have entered a better run meanwhile.
    if (game.gameState == STATE_ATTRACT && game.score > 0) { // a run that ended, not quit
        reloadScoreTables();
        if (game.score > tableBest(run.courseName))
            writeReplayFile(
                recordFolder + "/" + bestRunFile(run.courseName, courseList.chosen == 0), run);
    }
}

uint32_t keepReading()
{
    const uint32_t ticks = rawTicks();
    run.ticks.push_back(ticks);
    return ticks;
}

bool keepEvent(SDL_Event& event)
{
    if (!takeQueuedEvent(event))
        return false;
    if (isInputEvent(event.type)) {
        uint32_t code = event.jbutton.button;
        if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
            const long symbol = keySymbolOf(event);
            code = symbol >= 0 && symbol < 0xffff ? static_cast<uint32_t>(symbol) : 0xffff;
        }
        run.events.push_back({event.type, static_cast<uint16_t>(code)});
    }
    return true;
}

void frameBegins(const FrameLoop& loop)
{
    clearSoundLog();
    if (!runRecording)
        run.clear();
    if (!runRecording && game.gameState == STATE_ATTRACT) {
        // A start press may come in this frame: keep where it begins.
        saveSnapshot(loop, frameSnapshot);
        frameSeed = rawTicks();
        std::srand(frameSeed);
    }
}

void frameEnds(const FrameLoop&, bool quit)
{
    if (!runRecording) {
        if (game.gameState == STATE_ATTRACT || quit)
            return; // still waiting for a coin
        run.courseChecksum = courseChecksum(*recordTiles);
        run.courseName = chosenCourse() ? chosenCourse()->name : "";
        run.seed = frameSeed;
        run.snapshot.assign(frameSnapshot.begin(), frameSnapshot.end());
        runRecording = true;
    }
    if (quit && quitSignalled())
        run.events.push_back({QUIT_REQUEST_EVENT, 0}); // the replay ends on this frame too
    run.closeFrame(digestFrame(soundLog()), quit);
    if (game.gameState == STATE_ATTRACT || quit || run.frames.size() >= MAX_REPLAY_FRAMES)
        finishRun();
}
} // namespace

void keepTableRun(const TableEntry& entry)
{
    const std::string path = tableRunFile(recordFolder, entry.stamp);
    if (run.frames.empty() || path.empty())
        return;
    makeFolders(recordFolder + "/runs");
    run.initials = entry.initials, run.date = entry.date, run.stamp = entry.stamp;
    writeReplayFile(path, run);
    pruneTableRuns(recordFolder);
}

void recordRuns(const std::string& folder, const TileList& tiles)
{
    recordFolder = folder;
    recordTiles = &tiles;
    runRecording = false;
    run.clear();
    run.frames.reserve(1 << 14); // five minutes of play before the first doubling
    run.events.reserve(1 << 12);
    run.ticks.reserve(1 << 16);
    frameSnapshot.reserve(1 << 12);
    setSoundLogging(true);
    setClockHooks({keepReading, nullptr});
    setEventSource(keepEvent);
    setFrameHooks({frameBegins, frameEnds});
}

void stopRecording()
{
    setSoundLogging(false);
    clearClockHooks();
    setEventSource(nullptr);
    clearFrameHooks();
    runRecording = false;
}
