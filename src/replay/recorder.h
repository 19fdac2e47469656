#pragma once
#include "track/level.h"
#include <string>

// Recording: once on, every run from its start press to its return to attract (or a quit)
// is kept, and written to last-run.qrp in `folder`, and as its course's best run (the file
// bestRunFile names) when its final score will top the course's table. It takes the clock's
// readings, the input events and the frames' ends through the hooks of the modules below,
// and gives them back when it stops.
void recordRuns(const std::string& folder, const TileList& tiles);
void stopRecording();
// The run just ended entered its course's table as `entry`: it is kept under the entry's stamp
// (with its initials and day) for as long as the entry stays, and the kept runs of entries
// gone go.
struct TableEntry;
void keepTableRun(const TableEntry& entry);
