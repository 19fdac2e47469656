#pragma once
#include "app/options.h"

// The game as a player plays it, every run recorded: returns the exit status.
int playGame(const Options& options);
