#pragma once
#include <string>

// What the command line asks for.
struct Options {
    bool fullscreen = false;
    int scale = 0;   // window scale 1..8; 0 keeps the default (or SDL12COMPAT_WINDOW_SCALING)
};

enum OptionsResult { OPTIONS_RUN, OPTIONS_HELP, OPTIONS_VERSION, OPTIONS_BAD };

constexpr int EXIT_USAGE = 64;
constexpr const char* VERSION_LINE = "Quindara v1.0.2b";

OptionsResult parseOptions(int argc, const char* const argv[], Options& options);
const char* usageText();
