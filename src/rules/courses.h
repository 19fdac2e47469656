#pragma once
#include "track/level.h"
#include <string>

// The player's own courses: $XDG_DATA_HOME/quindara/courses, by default
// ~/.local/share/quindara/courses. Empty when neither variable is set.
std::string ownCoursesFolder();
// Lists the shipped courses from `_resources` and the player's own, each checked.
void findCourses();
// The course named, or at this path; a course file from elsewhere joins the list as one of
// the player's own. -1 when there is none.
int findOrAddCourse(const std::string& wanted);
// Makes course `index` of the list the one played: its tiles loaded, the view back at its
// start, the HI readout its best. False when it cannot be read (the course before stays).
bool chooseCourse(TileList& tiles, int index);
// A Left or Right press in attract: the course before or after is chosen at the next attract
// frame, a step for every press (a press queued with a start press never changes the course
// of that run).
void stepCourse(int direction);
// The same with the course's rows given (a course a recorded run carries).
bool chooseCourseText(TileList& tiles, int index, const CourseText& text);
// A course that is in no file, only in a recorded run, joins this session's list under its name
// (another course may have it too). Returns its place.
int addCarriedCourse(const std::string& name, const CourseText& text);
void applyCourseStep(TileList& tiles);
void resetCourseChoice();
