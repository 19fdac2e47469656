#include "app/check_course.h"
#include "platform/folders.h"
#include "sim/course_check.h"
#include "track/course.h"
#include "track/level.h"
#include "track/track.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

int checkCourseFile(const std::string& path)
{
    CourseText text;
    errno = 0;
    if (!isPlainFile(path) || !readCourseText(path, text)) {
        std::fprintf(stderr, "Quindara: cannot read %s (%s).\n", path.c_str(),
                     errno ? std::strerror(errno) : "not a file");
        return 1;
    }
    const std::vector<CourseFault> faults = checkCourse(text);
    for (const CourseFault& f : faults)
        std::printf("%s: %s\n", path.c_str(), describeFault(f).c_str());
    if (!faults.empty())
        return 1;
    int checkpoints = 0;
    for (const auto& row : text.rows)
        checkpoints += static_cast<int>(std::count(row.begin(), row.end(), CODE_CHECKPOINT));
    std::printf("%s: \"%s\", %zu rows, %d checkpoint%s: nothing to say.\n", path.c_str(),
                courseNameIn(text, path).c_str(), text.rows.size(), checkpoints,
                checkpoints == 1 ? "" : "s");
    return 0;
}
