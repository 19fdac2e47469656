#pragma once
#include "track/level.h"
#include <string>
#include <vector>

// A course the game can play: one shipped with it (`_resources/01.lvl`, `02.lvl` and on) or
// one of the player's own (a `.lvl` file in their courses folder).
struct Course {
    std::string name; // the file's name line, or the file's name without `.lvl`
    std::string path;
    bool own = false;
    bool faulty = false; // the course checker has something to say about it
};

// The courses in the order the game steps through them, and the one chosen.
struct CourseList {
    std::vector<Course> courses;
    int chosen = 0;
};
extern CourseList courseList;

// The name a course file gives itself: a line "name: ..." after the first empty line (spaces
// around it dropped, at most 24 characters), else the file's name without its folder and
// `.lvl`.
std::string courseNameOf(const std::string& path);
std::string courseNameIn(const CourseText& text, const std::string& path);
// The shipped courses (`NN.lvl` in `shippedFolder`, from 01 for as long as they follow on),
// then the `.lvl` files of `ownFolder` in the order of their names, each named as
// uniqueCourseName says.
// A course file that cannot be played (unreadable, or no tiles) is left out, and said in
// `skipped` as "PATH: why".
// Each file is read once: `faulty`, when given, judges the course from its text.
std::vector<Course> listCourses(const std::string& shippedFolder, const std::string& ownFolder,
                                std::vector<std::string>* skipped = nullptr,
                                bool (*faulty)(const CourseText&) = nullptr);
// Why a course file cannot be played, or "" when it can.
std::string unplayableReason(const std::string& path);
// A name for a course that no course of `list` shows (letter case aside), never empty: the one
// it wants, or its file's, then with the file's name or a number in brackets.
std::string uniqueCourseName(const std::vector<Course>& list, const std::string& wanted,
                             const std::string& path);
// The course named (letter case aside), or the one at this path; -1 when there is none.
int findCourse(const std::vector<Course>& courses, const std::string& nameOrPath);
// The chosen course, or nullptr while the list is empty.
const Course* chosenCourse();
