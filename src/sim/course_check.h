#pragma once
#include "track/level.h"
#include <string>
#include <vector>

// What the course checker finds wrong with a course: where (row and column in the file,
// counted from 1; column 0 for the whole row, row 0 for the whole course) and what.
struct CourseFault {
    int row = 0;
    int column = 0;
    std::string what;
};

// The fastest a car covers the course: 20 pixels a frame of 19 ms, in rows a second.
constexpr double FULL_SPEED_ROWS_PER_SECOND = 20.0 / 0.019 / TILE_HEIGHT;

// Every fault of a course as its reader sees it, in the order of the file: rows of other
// than eight tiles, unknown codes, rows with no road, a road that jumps sideways further
// than a car can follow, a road or a crash slide under the side panel, a seam where the
// course wraps, checkpoints too far apart to reach in time at full speed, and a narrowing or
// opening with no warning sign in the rows before it.
std::vector<CourseFault> checkCourse(const CourseText& text);
// One fault as a line: "row 12, column 3: ...".
std::string describeFault(const CourseFault& fault);
