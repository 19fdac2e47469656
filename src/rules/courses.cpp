#include "rules/courses.h"
#include "platform/folders.h"
#include "rules/scoring.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "sim/course_check.h"
#include "sim/markers.h"
#include "sim/road.h"
#include "state/game.h"
#include "track/course.h"
#include "track/track.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{
int pendingStep = 0;
} // namespace

std::string ownCoursesFolder()
{
    const std::string folder = playerDataFolder();
    return folder.empty() ? "" : folder + "/courses";
}

namespace
{
bool hasFaults(const CourseText& text)
{
    return !checkCourse(text).empty();
}
} // namespace

void findCourses()
{
    std::vector<std::string> skipped;
    courseList.courses = listCourses("_resources", ownCoursesFolder(), &skipped,
                                     [](const CourseText& text) { return hasFaults(text); });
    for (const std::string& line : skipped)
        std::fprintf(stderr, "Quindara: left out %s (quindara --check-course says more).\n",
                     line.c_str());
    courseList.chosen = 0;
}

int findOrAddCourse(const std::string& wanted)
{
    const int index = findCourse(courseList.courses, wanted);
    CourseText text; // a file from elsewhere is read once, for whether it plays, its name, faults
    if (index >= 0 || wanted.find('/') == std::string::npos || !isPlainFile(wanted) ||
        !readCourseText(wanted, text) || text.rows.empty())
        return index;
    courseList.courses.push_back(
        {uniqueCourseName(courseList.courses, courseNameIn(text, wanted), wanted), wanted, true,
         hasFaults(text)});
    return static_cast<int>(courseList.courses.size()) - 1;
}

bool chooseCourse(TileList& tiles, int index)
{
    if (index < 0 || index >= static_cast<int>(courseList.courses.size()))
        return false;
    CourseText text;
    if (!readCourseText(courseList.courses[index].path, text))
        return false; // the course before stays
    return chooseCourseText(tiles, index, text);
}

int addCarriedCourse(const std::string& name, const CourseText& text)
{
    // Under the name it was recorded with, which its run's screens show: the list is this
    // session's alone.
    courseList.courses.push_back({name, "", true, hasFaults(text)});
    return static_cast<int>(courseList.courses.size()) - 1;
}

bool chooseCourseText(TileList& tiles, int index, const CourseText& text)
{
    if (index < 0 || index >= static_cast<int>(courseList.courses.size()) || text.rows.empty())
        return false;
    buildTiles(text, tiles);
    courseList.chosen = index;
    showChosenCourseBest();
    // Nothing of the course before is left: not its view, its markers, its distance or what
    // the road queries read on it (a run recorded next starts from this state).
    trackView = TrackView();
    game.distanceMark = game.lastScoredMark = 0;
    resetRoadReadings();
    resetMarkerState();
    return true;
}

void stepCourse(int direction)
{
    pendingStep = direction == 0 ? 0 : std::max(-99, std::min(99, pendingStep + direction));
}

void applyCourseStep(TileList& tiles)
{
    const int n = static_cast<int>(courseList.courses.size());
    const int step = pendingStep;
    pendingStep = 0;
    if (step == 0 || n < 2)
        return;
    const int way = step > 0 ? 1 : -1;
    for (int k = 0; k < n - 1; ++k) { // on past a course that cannot be read
        const int index = ((courseList.chosen + step + way * k) % n + n) % n;
        if (chooseCourse(tiles, index)) {
            rememberCourse(courseList.courses[index].name);
            return;
        }
    }
}

void resetCourseChoice()
{
    pendingStep = 0;
    courseList = CourseList();
}
