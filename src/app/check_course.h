#pragma once
#include <string>

// --check-course: says what is wrong with a course file, one line a fault with its row and
// column. Returns 0 when there is nothing to say, 1 when there is (or the file cannot be read).
int checkCourseFile(const std::string& path);
