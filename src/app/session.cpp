#include "app/session.h"
#include "platform/exit_status.h"
#include "platform/folders.h"
#include "platform/signals.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "present/assets.h"
#include "present/intro.h"
#include "rules/courses.h"
#include "rules/scoring.h"
#include "save/game_files.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "sim/car.h"
#include "state/game.h"
#include "track/course.h"
#include "track/track.h"
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <cstdio>
#include <cstdlib>

namespace
{
SDL_Joystick* joystick = nullptr;
}

void enterSession(bool intoProgramFolder)
{
    installQuitSignals();
    if (intoProgramFolder)
        enterProgramFolder();
    locateSettings(isInstalledCopy());
    findCourses();
    // What a save cut short by a kill left behind: its file was never renamed into place.
    cleanLeftovers(settingsFolder());
}

bool initialise(bool fullScreen, bool withSound)
{
    // Audio starts on its own later: a sound driver that cannot start must not stop the rest.
    SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
    if (!openWindow(fullScreen)) {
        SDL_Quit();
        return false;
    }
    joystick = SDL_JoystickOpen(0);
    TTF_Init();
    if (withSound)
        soundOpenDevice();
    openFonts(12);
    fadeToWhite();
    SDL_Surface* raw = IMG_Load("_resources/gameIntro.bmp");
    intro.introImage = convertPicture(raw, false);
    if (raw)
        SDL_FreeSurface(raw);
    drawIntroScreen();
    drawIntroScreen();
    return true;
}

int loadGame(TileList& tiles)
{
    drawIntroScreen();
    if (!loadAssets(drawIntroScreen))
        std::fprintf(stderr, "Quindara: some of the game's pictures are missing from _resources; "
                             "the game plays without them.\n");
    drawIntroScreen();
    if (!loadCourseFile(tiles, levelFilePath(1), drawIntroScreen))
        return EXIT_NO_LEVEL;
    drawIntroScreen();
    return 0;
}

bool courseFound(const std::string& course)
{
    if (course.empty() || findOrAddCourse(course) >= 0)
        return true;
    if (course.find('/') != std::string::npos && isPlainFile(course)) {
        std::fprintf(stderr, "Quindara: the course %s cannot be played: %s.\n", course.c_str(),
                     unplayableReason(course).c_str());
        return false;
    }
    std::string names;
    for (const Course& c : courseList.courses)
        names += (names.empty() ? "" : ", ") + c.name;
    if (names.empty())
        std::fprintf(stderr, "Quindara: there is no course %s, nor any other.\n", course.c_str());
    else
        std::fprintf(stderr, "Quindara: there is no course %s; the courses are %s.\n",
                     course.c_str(), names.c_str());
    return false;
}

namespace
{
bool chooseStartingCourse(const SessionSetup& setup, TileList& tiles)
{
    const bool asked = !setup.course.empty();
    const std::string wanted = asked ? setup.course : setup.headless ? "" : rememberedCourse();
    if (wanted.empty())
        return true;
    const int index = findOrAddCourse(wanted);
    if (index >= 0 && (index == 0 || chooseCourse(tiles, index)))
        return true;
    if (asked)
        std::fprintf(stderr, "Quindara: there is no course %s%s.\n", wanted.c_str(),
                     index >= 0 ? " that can be read" : "");
    return !asked; // a course chosen last time and gone since: the first one
}
} // namespace

int startSession(const SessionSetup& setup, TileList& tiles)
{
    if (setup.headless) {
        // No window, and no sound device below; and no scaling of a picture nobody sees.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL12COMPAT_WINDOW_SCALING", "1", 1);
    } else {
        chooseWindowScaling(setup.scale);
    }
    showFrames(!setup.headless);
    resetMarkers();
    if (!initialise(setup.fullScreen, setup.withSound && !setup.headless))
        return EXIT_NO_SCREEN;
    const int status = loadGame(tiles);
    // Nothing may be left open on the way out: the audio thread, still running while the
    // process ends, would call into a mixer that is gone.
    if (status != 0) {
        shutdown(tiles, false);
        return status;
    }
    // A player's run (or a replay watched) takes the player's settings: the high score and
    // the volume. A check nobody watches, and the tools, leave them be.
    if (!setup.headless) {
        loadSettings();
        soundVolume(settingsFile.settings.volume);
        game.masterVolume = settingsFile.settings.volume;
        loadScoreTables(settingsFolder() + "/scores.txt");
    }
    // The course asked for, or the one chosen last time, and its best on the HI readout (after
    // the settings: the first course's high score is theirs).
    if (!chooseStartingCourse(setup, tiles)) {
        shutdown(tiles, false);
        return EXIT_NO_LEVEL;
    }
    showChosenCourseBest();
    return 0;
}

void shutdown(TileList& tiles, bool save)
{
    soundHalt(-1);
    if (save)
        saveCurrentSettings();
    fadeToBlack();
    // The display surface belongs to SDL, which releases it in SDL_Quit.
    screen = nullptr;
    resetCar(playerCar);
    tiles.clear();
    soundCloseDevice();
    closeFonts();
    if (joystick)
        SDL_JoystickClose(joystick);
    joystick = nullptr;
    TTF_Quit();
    SDL_Quit();
}
