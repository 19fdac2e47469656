#include "app/ghost_choice.h"
#include "app/own_runs.h"
#include "replay/replay_file.h"
#include "rules/ghost.h"
#include "state/game.h"
#include "track/course.h"
#include <cstdio>

namespace
{
bool isFile(const std::string& wanted)
{
    return !wanted.empty() && wanted != "best" && wanted != "off" &&
           wanted.compare(0, 6, "table:") != 0;
}
} // namespace

bool checkGhostFile(const std::string& wanted, std::string& course)
{
    if (!isFile(wanted))
        return true;
    Replay replay;
    std::string error;
    if (!readReplayFile(wanted, replay, error)) {
        std::fprintf(stderr, "Quindara: %s cannot be raced: %s.\n", wanted.c_str(), error.c_str());
        return false;
    }
    // Its course is the one with its tiles, whatever it is called here.
    const int own = courseWithTiles(replay);
    if (own < 0) {
        std::fprintf(stderr,
                     "Quindara: %s is a run of the course \"%s\", which is not among yours "
                     "(quindara --import takes it in).\n",
                     wanted.c_str(), replay.courseName.c_str());
        return false;
    }
    if (course.empty()) {
        course = courseList.courses[own].name;
    } else if (findCourse(courseList.courses, course) != own) {
        std::fprintf(stderr,
                     "Quindara: %s is a run of the course \"%s\", not of %s: it cannot be "
                     "raced there.\n",
                     wanted.c_str(), courseList.courses[own].name.c_str(), course.c_str());
        return false;
    }
    return true;
}

void keepGhostCurrent(const std::string& wanted, const TileList& tiles, bool runEnded)
{
    static int course = -1;
    static bool switchedOn = false;
    if (game.gameState != STATE_ATTRACT ||
        (!runEnded && course == courseList.chosen && switchedOn == ghostRace.switchedOn))
        return;
    course = courseList.chosen;
    switchedOn = ghostRace.switchedOn;
    raceGhost(RunTrail(), 0);
    if (!switchedOn || wanted == "off")
        return;
    // A file of another course, or a place of the table with no run: the course's best, the
    // run at the top of its table (a friend's imported there too), else its best-run file.
    const std::string chosen = isFile(wanted)                       ? wanted
                               : wanted.empty() || wanted == "best" ? ownRunFile("table:1", course)
                                                                    : ownRunFile(wanted, course);
    for (const std::string& path :
         {chosen, ownRunFile("table:1", course), ownRunFile("best", course)}) {
        Replay replay;
        std::string error;
        if (!path.empty() && readReplayFile(path, replay, error) &&
            courseChecksum(tiles) == replay.courseChecksum) {
            raceGhost(replay.trail, replay.fileChecksum);
            return;
        }
    }
}
