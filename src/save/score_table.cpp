#include "save/score_table.h"
#include "platform/clock.h"
#include "platform/file_replace.h"
#include "save/game_files.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <sstream>
#include <unistd.h>

ScoreTables scoreTables;

namespace
{
const char* const HEADER = "# Quindara best runs: course, score, initials, date, stamp";
constexpr int MAX_SCORE = 1 << 30;

constexpr size_t FILE_LIMIT = 1 << 20;

bool validCourseName(const std::string& s)
{
    if (s.empty() || s.size() > 64)
        return false;
    for (char c : s)
        if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126)
            return false;
    return true;
}

bool validInitials(const std::string& s)
{
    if (s.size() != 3)
        return false;
    for (char c : s)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '.'))
            return false;
    return true;
}

bool better(const TableEntry& a, const TableEntry& b)
{
    if (a.course != b.course)
        return a.course < b.course;
    if (a.score != b.score)
        return a.score > b.score;
    return a.stamp < b.stamp; // the earlier run keeps the higher place
}

std::string today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

// Sortable by when the run was entered: milliseconds since 1970, then the process, then
// how many it entered before (two in one millisecond are two runs).
std::string freshStamp()
{
    static int entered = 0;
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    char text[48];
    std::snprintf(text, sizeof text, "%015lld-%07d-%d",
                  static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000,
                  static_cast<int>(getpid()), entered++ % 10000);
    return text;
}
} // namespace

bool stampIsSafe(const std::string& stamp)
{
    return !stamp.empty() && stamp.size() <= 40 &&
           stamp.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-") == std::string::npos;
}

std::string tableRunFile(const std::string& folder, const std::string& stamp)
{
    return stampIsSafe(stamp) ? folder + "/runs/" + stamp + ".qrp" : "";
}

int pruneTableRuns(const std::string& folder)
{
    if (scoreTables.path.empty())
        return 0; // no table read: nothing to tell a kept run from one that is not
    const std::string runs = folder + "/runs";
    const FolderLock lock(folder, SAVE_LOCK_WAIT_MS);
    DIR* dir = opendir(runs.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const bool kept =
            std::any_of(scoreTables.entries.begin(), scoreTables.entries.end(),
                        [&](const TableEntry& e) { return name == e.stamp + ".qrp"; });
        if (!kept && unlink((runs + "/" + name).c_str()) == 0)
            ++removed;
    }
    closedir(dir);
    return removed;
}

namespace
{
const std::string IMPORTED = "import-";
}

std::string importedStamp(uint32_t runChecksum)
{
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", runChecksum);
    return IMPORTED + hex;
}

bool isImported(const TableEntry& entry)
{
    return entry.stamp.compare(0, IMPORTED.size(), IMPORTED) == 0;
}

std::vector<TableEntry> mergeTables(const std::vector<TableEntry>& a,
                                    const std::vector<TableEntry>& b)
{
    std::vector<TableEntry> all = a;
    for (const TableEntry& e : b)
        if (std::none_of(all.begin(), all.end(), [&](const TableEntry& x) {
                return x.stamp == e.stamp && x.course == e.course;
            }))
            all.push_back(e);
    std::sort(all.begin(), all.end(), better);
    std::vector<TableEntry> kept;
    int place = 0; // in its course's table: the entries come course by course, best first
    for (size_t i = 0; i < all.size(); ++i) {
        place = i > 0 && all[i].course == all[i - 1].course ? place + 1 : 0;
        if (place < TABLE_PLACES)
            kept.push_back(all[i]);
    }
    return kept;
}

std::string tablesText(const std::vector<TableEntry>& entries)
{
    std::string text = std::string(HEADER) + "\n";
    for (const TableEntry& e : entries)
        text += e.course + "\t" + std::to_string(e.score) + "\t" + e.initials + "\t" + e.date +
                "\t" + e.stamp + "\n";
    return text;
}

int parseTables(const std::string& text, std::vector<TableEntry>& entries)
{
    entries.clear();
    int damaged = 0;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        // The header, and any line without a tab, is a comment: a course's name may well
        // start with '#'.
        if (line.empty() || (line[0] == '#' && line.find('\t') == std::string::npos))
            continue;
        std::vector<std::string> f;
        std::istringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t'))
            f.push_back(cell);
        if (f.size() != 5 || !validCourseName(f[0]) || f[1].empty() || f[1].size() > 10 ||
            f[1].find_first_not_of("0123456789") != std::string::npos || !validInitials(f[2]) ||
            f[3].size() != 10 || f[4].empty() || f[4].size() > 40 || std::stoll(f[1]) > MAX_SCORE) {
            ++damaged; // this line alone is lost
            continue;
        }
        entries.push_back({f[0], static_cast<int>(std::stoll(f[1])), f[2], f[3], f[4]});
    }
    entries = mergeTables(entries, {});
    return damaged;
}

namespace
{
// The entries of the file as it is now; false when it cannot be read at all. A file with
// damaged lines is kept aside (once: its copy is the evidence) and said once.
bool readTables(const std::string& path, std::vector<TableEntry>& entries)
{
    std::string text, why;
    entries.clear();
    if (!readGameFile(path, FILE_LIMIT, text, why))
        return why == "missing";
    const int damaged = parseTables(text, entries);
    if (damaged == 0)
        return true;
    // The good lines stay; the file as it was is kept beside the one the next save writes.
    const std::string aside = scoreTables.damageReported ? "" : keepDamagedCopy(path);
    if (!scoreTables.damageReported)
        std::fprintf(stderr,
                     "Quindara: %d line%s of %s could not be read as best runs and %s; %s.\n",
                     damaged, damaged == 1 ? "" : "s", path.c_str(),
                     damaged == 1 ? "is left out" : "are left out",
                     aside.empty() ? "the file is left as it is"
                                   : ("the file as it was is kept as " + aside).c_str());
    if (!aside.empty()) {
        const std::string out = tablesText(entries);
        replaceFile(path, out.data(), out.size());
    }
    scoreTables.damageReported = true;
    return true;
}
} // namespace

void loadScoreTables(const std::string& path)
{
    scoreTables.path = path;
    scoreTables.entries.clear();
    if (path.empty())
        return;
    const FolderLock lock(folderOf(path), SAVE_LOCK_WAIT_MS);
    if (!readTables(path, scoreTables.entries)) {
        std::fprintf(stderr,
                     "Quindara: %s cannot be read as the table of best runs; it is left as it "
                     "is, and the tables start empty and are not saved.\n",
                     path.c_str());
        scoreTables.path.clear(); // never saved over
    }
}

void reloadScoreTables()
{
    if (scoreTables.path.empty())
        return;
    const FolderLock lock(folderOf(scoreTables.path), SAVE_LOCK_WAIT_MS);
    std::vector<TableEntry> theirs;
    if (readTables(scoreTables.path, theirs))
        scoreTables.entries = mergeTables(theirs, scoreTables.entries);
}

std::vector<TableEntry> tableOf(const std::string& course)
{
    std::vector<TableEntry> list;
    for (const TableEntry& e : scoreTables.entries)
        if (e.course == course)
            list.push_back(e);
    return list;
}

int tableBest(const std::string& course)
{
    const auto list = tableOf(course);
    return list.empty() ? 0 : list[0].score;
}

int placeFor(const std::string& course, int score)
{
    const auto list = tableOf(course);
    int place = 0;
    while (place < static_cast<int>(list.size()) && list[place].score >= score)
        ++place;
    return score > 0 && place < TABLE_PLACES ? place : -1;
}

int enterRun(const std::string& course, int score, const std::string& initials)
{
    return enterEntry({course, score, initials, today(), freshStamp()});
}

int enterEntry(const TableEntry& made)
{
    TableEntry entry = made;
    if (entry.date.empty())
        entry.date = today();
    scoreTables.lastEntered = entry;
    const std::string& course = entry.course;
    std::vector<TableEntry> ours = scoreTables.entries;
    ours.push_back(entry);
    if (!scoreTables.path.empty()) {
        const FolderLock lock(folderOf(scoreTables.path), SAVE_LOCK_WAIT_MS);
        std::vector<TableEntry> theirs;
        if (readTables(scoreTables.path, theirs))
            ours = mergeTables(theirs, ours);
        scoreTables.entries = mergeTables(ours, {});
        const std::string out = tablesText(scoreTables.entries);
        if (!replaceFile(scoreTables.path, out.data(), out.size()))
            std::fprintf(stderr, "Quindara: cannot save the table of best runs in %s (%s).\n",
                         scoreTables.path.c_str(), std::strerror(errno));
    } else {
        scoreTables.entries = mergeTables(ours, {});
    }
    const auto list = tableOf(course);
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].stamp == entry.stamp)
            return static_cast<int>(i);
    return -1;
}
