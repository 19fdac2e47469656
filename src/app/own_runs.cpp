#include "app/own_runs.h"
#include "rules/courses.h"
#include "save/game_files.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "track/course.h"
#include <cstdlib>

std::string ownRunFile(const std::string& named, int course)
{
    if (named == "last")
        return settingsFolder() + "/last-run.qrp";
    if (course < 0 || course >= static_cast<int>(courseList.courses.size()))
        return "";
    const std::string& name = courseList.courses[course].name;
    if (named == "best")
        return settingsFolder() + "/" + bestRunFile(name, course == 0);
    if (named.compare(0, 6, "table:") != 0)
        return "";
    const int place = std::atoi(named.c_str() + 6);
    const std::vector<TableEntry> table = tableOf(name);
    if (place < 1 || place > static_cast<int>(table.size()))
        return "";
    return tableRunFile(settingsFolder(), table[place - 1].stamp);
}

int courseWithTiles(const Replay& replay)
{
    const int named = findCourse(courseList.courses, replay.courseName);
    for (int i = -1; i < static_cast<int>(courseList.courses.size()); ++i) {
        const int index = i < 0 ? named : i;
        CourseText text;
        if (index >= 0 && readCourseText(courseList.courses[index].path, text) &&
            courseChecksum(text.rows) == replay.courseChecksum)
            return index;
    }
    return -1;
}

int chooseRunCourse(const Replay& replay, TileList& tiles)
{
    const int named = findCourse(courseList.courses, replay.courseName);
    if (named >= 0 && (named == courseList.chosen || chooseCourse(tiles, named)) &&
        courseChecksum(tiles) == replay.courseChecksum)
        return named;
    if (replay.courseRows.empty() || courseChecksum(replay.courseRows) != replay.courseChecksum)
        return -1;
    CourseText carried;
    carried.rows = replay.courseRows;
    const int index = addCarriedCourse(replay.courseName, carried);
    return chooseCourseText(tiles, index, carried) ? index : -1;
}
