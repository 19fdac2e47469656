#pragma once
#include "track/level.h"
#include <string>

// One run of the program, however it runs (playing, watching or checking a replay, the
// replay recorder, the whole-game tests): the same start-up and the same shutdown.
struct SessionSetup {
    bool fullScreen = false;
    int scale = 0; // window scale 1..8; 0 keeps the default
    bool withSound = true;
    bool headless = false; // no window and no intro screens: a check nobody watches
    std::string course;    // the course to start on (a name or a file); empty: the one chosen
                           // last time, or the first
};

// The program's surroundings: the quit signals, the folder its resources are in (skipped by
// tools and tests, which work in a private copy), the settings file and the courses there are.
void enterSession(bool intoProgramFolder);
// Whether a course named on the command line can be had (a name in the list, or a readable
// file); says which courses there are when it cannot. Before any window opens.
bool courseFound(const std::string& course);
// The game's one start-up: the libraries, the window, the intro screens, the level, every
// asset, and (but for a check without a window) the player's settings. Returns 0, or the exit
// status when the game cannot go on (everything is then shut down again).
int startSession(const SessionSetup& setup, TileList& tiles);
// Brings up the libraries, the window, the fonts and the intro picture. False when there is
// no screen (the libraries are shut down again).
bool initialise(bool fullScreen = false, bool withSound = true);
// Start-up after the libraries are up: level, assets. Returns 0, or the exit status when the
// game cannot go on.
int loadGame(TileList& tiles);
// Halts the sound, saves the settings (unless `save` is false), fades out and releases
// everything.
void shutdown(TileList& tiles, bool save = true);
