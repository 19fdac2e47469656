#pragma once
#include "track/level.h"
#include <string>

// Which run a player races as the ghost: `wanted` is what --ghost asked for ("" or "best": the
// chosen course's best run; "off"; "table:N": place N of its table; or a run file), and the
// switch in attract (G) turns it off and on.

// At start-up, before any window: a run file asked for must be a run, and of the course asked
// for when one is (else one line and false); with no course asked for, its course is played.
bool checkGhostFile(const std::string& wanted, std::string& course);
// Between frames in attract: the ghost raced next follows the chosen course and the switch;
// `runEnded` says a run has just ended (it may be the new best).
void keepGhostCurrent(const std::string& wanted, const TileList& tiles, bool runEnded);
