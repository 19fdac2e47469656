#pragma once
#include "track/level.h"
#include <string>

// Recording: once on, every run from its start press to its return to attract (or a quit)
// is kept, and written to last-run.qrp in `folder`, and to best-run.qrp when it set the
// high score. It takes the clock's readings, the input events and the frames' ends through
// the hooks of the modules below, and gives them back when it stops.
// The best run's file of a course: best-run.qrp for the first course, best-run-NAME.qrp
// (the name in lower case, other characters than letters and digits as '-') for another.
std::string bestRunFile(const std::string& courseName, bool firstCourse);
void recordRuns(const std::string& folder, const TileList& tiles);
void stopRecording();
