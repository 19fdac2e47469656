#include "app/import_run.h"
#include "app/own_runs.h"
#include "app/session.h"
#include "app/watch.h"
#include "platform/exit_status.h"
#include "platform/file_replace.h"
#include "platform/folders.h"
#include "replay/replay_file.h"
#include "rules/courses.h"
#include "save/game_files.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "track/course.h"
#include <cctype>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// The course the run carries, written among the player's own under a file name of its own
// (never over another); the path, or "" when it could not be written.
std::string keepCarriedCourse(const Replay& replay)
{
    const std::string folder = ownCoursesFolder();
    if (folder.empty())
        return "";
    makeFolders(folder);
    std::string stem;
    for (char c : replay.courseName)
        if (stem.size() < 32)
            stem += std::isalnum(static_cast<unsigned char>(c))
                        ? static_cast<char>(std::tolower(static_cast<unsigned char>(c)))
                        : '-';
    stem = "imported-" + (stem.empty() ? std::string("course") : stem);
    std::string text;
    for (const std::vector<int>& row : replay.courseRows) {
        for (size_t i = 0; i < row.size(); ++i) {
            char code[16];
            std::snprintf(code, sizeof code, "%s%02d", i ? "," : "", row[i]);
            text += code;
        }
        text += "\n";
    }
    // Under a name no course of the player's has: theirs keep theirs.
    const std::string name =
        uniqueCourseName(courseList.courses, replay.courseName.substr(0, 24), "imported");
    text += "\nname: " + name + "\n";
    const FolderLock lock(folder, SAVE_LOCK_WAIT_MS);
    for (int n = 1; n < 1000; ++n) {
        const std::string path =
            folder + "/" + stem + (n > 1 ? "-" + std::to_string(n) : "") + ".lvl";
        if (access(path.c_str(), F_OK) != 0)
            return replaceFile(path, text.data(), text.size()) ? path : "";
    }
    return "";
}
} // namespace

int importRun(const Options& options)
{
    const std::string& path = options.importRun;
    Options check;
    check.replay = path, check.check = true;
    const int checked = watchReplay(check); // says the frames and the score, or what differs
    if (checked != 0) {
        std::fprintf(stderr, "Quindara: %s is not taken: nothing was imported.\n", path.c_str());
        return checked;
    }
    Replay replay;
    std::string error, bytes, why;
    if (!readReplayFile(path, replay, error) || !readGameFile(path, MAX_REPLAY_BYTES, bytes, why)) {
        std::fprintf(stderr, "Quindara: %s changed while it was checked: nothing was imported.\n",
                     path.c_str());
        return EXIT_BAD_REPLAY;
    }
    findCourses();
    int course = courseWithTiles(replay);
    if (course < 0) {
        const std::string kept = keepCarriedCourse(replay);
        findCourses();
        course = kept.empty() ? -1 : findCourse(courseList.courses, kept);
        if (course < 0) {
            std::fprintf(stderr, "Quindara: cannot keep the course \"%s\" among yours in %s.\n",
                         replay.courseName.c_str(), ownCoursesFolder().c_str());
            return EXIT_BAD_REPLAY;
        }
        std::printf("The course \"%s\" joins your courses as %s.\n",
                    courseList.courses[course].name.c_str(), kept.c_str());
    }
    const std::string& name = courseList.courses[course].name;
    const std::string stamp = importedStamp(replay.fileChecksum);
    loadScoreTables(settingsFolder() + "/scores.txt");
    for (const TableEntry& e : tableOf(name))
        if (e.stamp == stamp) {
            std::printf("This run is already in the table of %s.\n", name.c_str());
            return 0;
        }
    const TableEntry entry{name, replay.trail.finalScore,
                           replay.initials.empty() ? "..." : replay.initials, replay.date, stamp};
    const int place = enterEntry(entry);
    if (place < 0) {
        std::printf("Its score, %d, does not reach the table of %s.\n", entry.score, name.c_str());
        return 0;
    }
    const std::string kept = tableRunFile(settingsFolder(), stamp);
    makeFolders(settingsFolder() + "/runs");
    {
        const FolderLock lock(settingsFolder(), SAVE_LOCK_WAIT_MS);
        replaceFile(kept, bytes.data(), bytes.size());
    }
    pruneTableRuns(settingsFolder());
    std::printf("Imported: place %d of the table of %s, score %d, by %s.\n", place + 1,
                name.c_str(), entry.score, entry.initials.c_str());
    return 0;
}
