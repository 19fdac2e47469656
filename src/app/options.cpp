#include "app/options.h"
#include <cstring>
#include <unistd.h>

namespace
{
// A window scale: a whole number from 1 to 8, nothing else.
bool readScale(const char* text, int& scale)
{
    if (!text || std::strlen(text) != 1 || text[0] < '1' || text[0] > '8')
        return false;
    scale = text[0] - '0';
    return true;
}

// A file named on the command line is found from the folder the player started the game in,
// not from the game's own folder, which start-up makes the working directory.
std::string fromStartFolder(const char* path)
{
    char folder[4096];
    if (path[0] == '/' || !getcwd(folder, sizeof folder))
        return path;
    return std::string(folder) + "/" + path;
}
// "last", "best" or "table:N" (N from 1 to 10) name a run of the player's; anything else is a
// file.
bool namesOwnRun(const char* text, bool lastToo)
{
    if ((lastToo && std::strcmp(text, "last") == 0) || std::strcmp(text, "best") == 0)
        return true;
    if (std::strncmp(text, "table:", 6) != 0)
        return false;
    const std::string n = text + 6;
    return n == "10" || (n.size() == 1 && n[0] >= '1' && n[0] <= '9');
}
} // namespace

const char* usageText()
{
    return "Usage: quindara [--fullscreen] [--scale N] [--course NAME|FILE]\n"
           "                [--ghost best|off|table:N|FILE]\n"
           "       quindara --replay FILE|last|best|table:N [--course NAME]\n"
           "                [--check | --dump [--recorded]]\n"
           "       quindara --import FILE\n"
           "       quindara --check-course FILE\n"
           "       quindara --help | --version\n"
           "Drive the red car up the endless road against the clock.\n"
           "  --fullscreen   start full screen (F11 switches while the game runs)\n"
           "  --scale N      a window N times the 320x240 screen, N from 1 to 8 (default 3;\n"
           "                 lowered to what fits the desktop)\n"
           "  --course NAME  start on this course: a course's name, or a course file\n"
           "                 (Left and Right choose one before a run)\n"
           "  --ghost WHICH  the run raced as a see-through car: best (your best on the\n"
           "                 course, the default), off, table:N (place N of the course's\n"
           "                 table) or a run file of the same course (a friend's)\n"
           "  --replay FILE  watch a recorded run again: a file, or last, best or table:N\n"
           "                 (your last run, your best or place N on the chosen course);\n"
           "                 Escape leaves\n"
           "  --import FILE  check a friend's run frame by frame and take it in: its course\n"
           "                 joins yours, the run its course's table\n"
           "  --check        with --replay: replay it without a window and check every frame\n"
           "  --dump         with --replay: print every frame's digests as replayed\n"
           "                 (with --recorded: as recorded, without replaying)\n"
           "  --check-course FILE  say what is wrong with a course file, row by row\n"
           "  --help         show this help\n"
           "  --version      show the version\n"
           "Keys: Return or P insert a coin, start and pause; Up accelerates, Down or left\n"
           "Shift brakes, Left and Right steer (and choose the course while no run is on);\n"
           "Q and W set the volume; F shows the diagnostics; F11 switches full screen;\n"
           "while no run is on, G switches the ghost on and off and S opens the settings\n"
           "(the volumes, the music, the window, keys of your own);\n"
           "Escape quits. A game pad plays too: see the manual page.\n";
}

OptionsResult parseOptions(int argc, const char* const argv[], Options& options)
{
    bool help = false, version = false;
    auto bad = [&options](const std::string& problem) {
        options.problem = problem;
        return OPTIONS_BAD;
    };
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : "";
        const bool runOption =
            std::strcmp(arg, "--replay") == 0 || std::strcmp(arg, "--ghost") == 0;
        if (runOption && std::strncmp(next, "table:", 6) == 0 && !namesOwnRun(next, false))
            return bad(std::string(arg) + " table:N takes a place from 1 to 10");
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        // An option is never taken for the value of the one before it.
        const bool hasValue = value && value[0] && std::strncmp(value, "--", 2) != 0;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            help = true;
        } else if (std::strcmp(arg, "--version") == 0) {
            version = true;
        } else if (std::strcmp(arg, "--fullscreen") == 0) {
            options.fullscreen = true;
        } else if (std::strcmp(arg, "--scale") == 0 || std::strncmp(arg, "--scale=", 8) == 0) {
            const char* scale = arg[7] == '=' ? arg + 8 : hasValue ? argv[++i] : nullptr;
            if (!readScale(scale, options.scale))
                return bad("--scale takes a whole number from 1 to 8");
        } else if (std::strcmp(arg, "--replay") == 0) {
            if (!hasValue)
                return bad("--replay takes a replay file, or last, best or table:N");
            ++i;
            options.replay = namesOwnRun(argv[i], true) ? argv[i] : fromStartFolder(argv[i]);
        } else if (std::strcmp(arg, "--ghost") == 0) {
            if (!hasValue)
                return bad("--ghost takes best, off, table:N or a run file");
            ++i;
            const bool named = namesOwnRun(argv[i], false) || std::strcmp(argv[i], "off") == 0;
            options.ghost = named ? argv[i] : fromStartFolder(argv[i]);
        } else if (std::strcmp(arg, "--import") == 0) {
            if (!hasValue)
                return bad("--import takes a run file");
            options.importRun = fromStartFolder(argv[++i]);
        } else if (std::strcmp(arg, "--course") == 0) {
            if (!hasValue)
                return bad("--course takes a course's name or a course file");
            ++i;
            // A path is found from where the game was started; a name stays a name.
            const bool path = std::strchr(argv[i], '/') || std::strstr(argv[i], ".lvl");
            options.course = path ? fromStartFolder(argv[i]) : argv[i];
        } else if (std::strcmp(arg, "--check-course") == 0) {
            if (!hasValue)
                return bad("--check-course takes a course file");
            options.checkCourse = fromStartFolder(argv[++i]);
        } else if (std::strcmp(arg, "--check") == 0) {
            options.check = true;
        } else if (std::strcmp(arg, "--dump") == 0) {
            options.dump = true;
        } else if (std::strcmp(arg, "--recorded") == 0) {
            options.recorded = true;
        } else {
            return bad(std::string(arg[0] == '-' ? "unknown option " : "unexpected ") + "'" + arg +
                       "'");
        }
    }
    // Checking and dumping are things done to a replay, one at a time.
    if ((options.check || options.dump) && options.replay.empty())
        return bad(std::string(options.check ? "--check" : "--dump") + " goes with --replay");
    if (options.check && options.dump)
        return bad("--check and --dump do not go together");
    if (options.recorded && !options.dump)
        return bad("--recorded goes with --dump");
    if (!options.checkCourse.empty() && (!options.replay.empty() || !options.course.empty()))
        return bad("--check-course goes alone");
    if (!options.importRun.empty() && (!options.replay.empty() || !options.course.empty() ||
                                       !options.checkCourse.empty() || !options.ghost.empty()))
        return bad("--import goes alone");
    if (!options.ghost.empty() && !options.replay.empty())
        return bad("--ghost goes with playing, not with --replay (a run shows the ghost it raced)");
    return help ? OPTIONS_HELP : version ? OPTIONS_VERSION : OPTIONS_RUN;
}
