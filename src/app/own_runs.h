#pragma once
#include "replay/replay_file.h"
#include <string>

// The runs a player keeps beside the settings: the last one, each course's best, and the run of
// every entry of the tables.

// The file of the run named "last", "best" or "table:N" (place N of the table) on course
// `course` of the list; "" when there is no such course or place.
std::string ownRunFile(const std::string& named, int course);
// The course of the list with the tiles the run was recorded on (the one of its name first),
// whatever it is called here; -1 when none has them.
int courseWithTiles(const Replay& replay);
// The course of the list a run was recorded on, its tiles loaded into `tiles`: the one of its
// name, or else the course the run carries. -1 when neither is the course it was recorded on.
int chooseRunCourse(const Replay& replay, TileList& tiles);
