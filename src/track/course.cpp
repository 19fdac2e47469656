#include "track/course.h"
#include "platform/folders.h"
#include "track/level.h"
#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <unistd.h>

CourseList courseList;

namespace
{
constexpr size_t NAME_LENGTH = 24;

std::string trimmed(const std::string& s)
{
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

std::string lowered(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string fileStem(const std::string& path)
{
    std::string base = path.substr(path.find_last_of('/') + 1);
    if (base.size() > 4 && base.compare(base.size() - 4, 4, ".lvl") == 0)
        base.resize(base.size() - 4);
    return base;
}

// Printable characters only: a name is drawn on the screen and printed in lines.
std::string printable(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) < 127)
            out.push_back(c);
    return out.substr(0, NAME_LENGTH);
}
} // namespace

std::string courseNameIn(const CourseText& text, const std::string& path)
{
    for (const std::string& line : text.after) {
        const std::string t = trimmed(line);
        if (lowered(t.substr(0, 5)) == "name:") {
            const std::string name = trimmed(printable(trimmed(t.substr(5))));
            if (!name.empty())
                return name;
        }
    }
    return trimmed(printable(fileStem(path)));
}

std::string courseNameOf(const std::string& path)
{
    CourseText text;
    readCourseText(path, text);
    return courseNameIn(text, path);
}

namespace
{
// Why a course read as text cannot be played, or "".
std::string unplayableIn(const CourseText& text)
{
    return text.rows.empty() ? "it has no rows of tiles before its first empty line" : "";
}
} // namespace

std::string unplayableReason(const std::string& path)
{
    CourseText text;
    if (!isPlainFile(path) || !readCourseText(path, text))
        return "it cannot be read";
    return unplayableIn(text);
}

std::string uniqueCourseName(const std::vector<Course>& list, const std::string& wanted,
                             const std::string& path)
{
    auto taken = [&](const std::string& name) { return findCourse(list, name) >= 0; };
    std::string name = wanted.empty() ? trimmed(printable(fileStem(path))) : wanted;
    if (name.empty())
        name = "Course";
    if (!taken(name))
        return name;
    // The file's name in brackets, the course's own shortened to leave room for it; then a
    // number, should that be taken too.
    const std::string stem = printable(fileStem(path)).substr(0, NAME_LENGTH / 2);
    for (int n = 1; n < 1000; ++n) {
        const std::string tail = " (" + (n == 1 && !stem.empty() ? stem : std::to_string(n)) + ")";
        const std::string candidate = name.substr(0, NAME_LENGTH - tail.size()) + tail;
        if (!taken(candidate))
            return candidate;
    }
    return name; // a thousand alike: never reached by a real folder
}

std::vector<Course> listCourses(const std::string& shippedFolder, const std::string& ownFolder,
                                std::vector<std::string>* skipped,
                                bool (*faulty)(const CourseText&))
{
    std::vector<Course> list;
    CourseText text; // each file is read once, for its name, whether it plays and its faults
    for (int n = 1; n <= 99; ++n) {
        const std::string path =
            shippedFolder + "/" + (n < 10 ? "0" : "") + std::to_string(n) + ".lvl";
        if (!isPlainFile(path))
            break;
        const bool read = readCourseText(path, text);
        list.push_back({courseNameIn(text, path), path, false, !read || (faulty && faulty(text))});
    }
    std::vector<std::string> own;
    if (DIR* dir = ownFolder.empty() ? nullptr : opendir(ownFolder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".lvl") == 0)
                own.push_back(ownFolder + "/" + name);
        }
        closedir(dir);
    }
    std::sort(own.begin(), own.end());
    for (const std::string& path : own) {
        // Only a course that can be chosen is listed; the rest are said once at start.
        const std::string why = !isPlainFile(path) || !readCourseText(path, text)
                                    ? "it cannot be read"
                                    : unplayableIn(text);
        if (!why.empty()) {
            if (skipped)
                skipped->push_back(path + ": " + why);
            continue;
        }
        list.push_back({uniqueCourseName(list, courseNameIn(text, path), path), path, true,
                        faulty && faulty(text)});
    }
    return list;
}

int findCourse(const std::vector<Course>& courses, const std::string& nameOrPath)
{
    for (size_t i = 0; i < courses.size(); ++i)
        if (lowered(courses[i].name) == lowered(nameOrPath) || courses[i].path == nameOrPath)
            return static_cast<int>(i);
    return -1;
}

const Course* chosenCourse()
{
    const int n = static_cast<int>(courseList.courses.size());
    return courseList.chosen >= 0 && courseList.chosen < n ? &courseList.courses[courseList.chosen]
                                                           : nullptr;
}
