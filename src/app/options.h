#pragma once
#include "version.h"
#include <string>

// What the command line asks for.
struct Options {
    bool fullscreen = false;
    int scale = 0;         // window scale 1..8; 0 keeps the default (or SDL12COMPAT_WINDOW_SCALING)
    std::string replay;    // a replay file to watch, or "last", "best" or "table:N"
    bool check = false;    // check the replay frame by frame, with no window
    bool dump = false;     // print every frame's digests
    bool recorded = false; // with dump: the digests as recorded, without replaying
    std::string course;    // the course to start on: a course's name, or a course file's path
    std::string checkCourse; // a course file to check
    std::string ghost;       // the run raced: "best" (as when empty), "off", "table:N" or a file
    std::string importRun;   // a friend's run to check and take in
    std::string problem;     // what was wrong with a command line that was refused
};

enum OptionsResult { OPTIONS_RUN, OPTIONS_HELP, OPTIONS_VERSION, OPTIONS_BAD };

constexpr const char* VERSION_LINE = "Quindara " QUINDARA_VERSION_TEXT;

OptionsResult parseOptions(int argc, const char* const argv[], Options& options);
const char* usageText();
