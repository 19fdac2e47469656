#pragma once
#include <string>

// The rules every file the game keeps is read and written by: its settings, the tables of best
// runs, the course chosen last and the recorded runs. A read never waits (a FIFO or a device
// where the file should be is refused, not opened for good) and never takes more than the
// file's limit; a write is whole, under the folder's lock (platform/file_replace.h); a damaged
// file is kept beside the new one under a name no earlier kept copy has.

// The whole of a plain file of at most `limit` bytes. False with `why` set ("missing", "not a
// plain file", "larger than ..." or the system's word) when it cannot be had.
bool readGameFile(const std::string& path, size_t limit, std::string& bytes, std::string& why);
// Moves a damaged file aside to "PATH.damaged" (or ".damaged.2", ".3" and on when that name is
// taken), so that no earlier kept copy is overwritten. The name it took, or "" when it could not
// be moved.
std::string keepDamagedCopy(const std::string& path);
// The leftovers of saves cut short (the game killed between writing a file and renaming it
// into place) of every file the game writes in `folder`. Returns how many went.
int cleanLeftovers(const std::string& folder);
// The file a course's best run is kept in, in the settings folder: "best-run.qrp" for the first
// course, else a name made from the course's that no other name makes (letters and digits kept,
// lower-cased, a space as "-", anything else as "_" and its two hex digits).
std::string bestRunFile(const std::string& courseName, bool firstCourse);
