#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The ten best runs of each course, with the player's initials and the day, kept in
// "scores.txt" in the settings folder (written whole, under the folder's lock, merged with
// what another copy of the game saved there meanwhile).
struct TableEntry {
    std::string course;
    int score = 0;
    std::string initials; // three letters, digits or spaces
    std::string date;     // YYYY-MM-DD
    std::string stamp;    // when and by which copy: tells two runs with the same score apart
};
constexpr int TABLE_PLACES = 10;
// A stamp names the file its entry's run is kept in: 1 to 40 of a-z, 0-9 and '-'.
bool stampIsSafe(const std::string& stamp);
// That file, in the settings folder's "runs" folder; "" for a stamp that cannot name one.
std::string tableRunFile(const std::string& folder, const std::string& stamp);
// The kept runs of entries no table holds any more (and what a save cut short left in the
// runs folder) go. Returns how many went.
int pruneTableRuns(const std::string& folder);
// An entry made by importing a friend's run has a stamp of its own kind, made from the run
// file's checksum (the same run imported twice has the same), and shows it.
std::string importedStamp(uint32_t runChecksum);
bool isImported(const TableEntry& entry);

struct ScoreTables {
    std::vector<TableEntry> entries; // every course's, each course's best first
    std::string path;                // empty: nothing is read or saved (a check, a tool)
    bool damageReported = false;
    TableEntry lastEntered; // the entry this copy made last (its run is kept under its stamp)
};
extern ScoreTables scoreTables;

// Reads the tables from `path` (in the settings folder). A line that cannot be read costs that
// line alone: the file as it was is kept aside ("scores.txt.damaged", or the next free
// ".damaged.N"), said once, and the good lines are saved back. A file that cannot be read at
// all (not a plain file, too large) is left as it is and never saved over.
void loadScoreTables(const std::string& path);
// Takes in what another copy of the game has entered since (the file read again and merged).
void reloadScoreTables();
// The course's entries, best first (at most ten).
std::vector<TableEntry> tableOf(const std::string& course);
// The course's best score, or 0.
int tableBest(const std::string& course);
// The place (0..9) a score would take on the course's table, or -1 when it does not enter:
// an equal score ranks below the runs already there.
int placeFor(const std::string& course, int score);
// Enters a run (today's date, a fresh stamp), then saves: the file as another copy left it,
// merged with this copy's entries, best ten of each course. Returns the place it took.
int enterRun(const std::string& course, int score, const std::string& initials);
// The same for an entry made elsewhere (an imported run; today's date when it has none): an
// entry of the same stamp already there is not added again.
int enterEntry(const TableEntry& entry);
// Both lists merged (one entry for each stamp), each course's best ten kept, in order.
std::vector<TableEntry> mergeTables(const std::vector<TableEntry>& a,
                                    const std::vector<TableEntry>& b);
// The text of the file, and back; parsing returns how many lines could not be read (they are
// left out).
std::string tablesText(const std::vector<TableEntry>& entries);
int parseTables(const std::string& text, std::vector<TableEntry>& entries);
