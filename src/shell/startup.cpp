#include "shell/startup.h"
#include "present/assets.h"
#include "present/render.h"
#include "present/sound.h"
#include "present/text.h"
#include "shell/clock.h"
#include "shell/game.h"
#include "shell/replay.h"
#include "shell/settings.h"
#include "shell/signals.h"
#include "shell/states.h"
#include "sim/car.h"
#include "track/track.h"
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

SDL_Surface* introImage = nullptr;
int loadingStep = 0;
int introScreensDrawn = 0;

namespace {
SDL_Joystick* joystick = nullptr;
constexpr int TEXT_X = 10;
constexpr int TEXT_Y = 220;
constexpr int INK[3] = {56, 117, 137};
const char* const READY_TEXT = " ready...(X or ENTER to START)";

void fillScreen(Uint8 v)
{
    if (!screen)
        return;
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, v, v, v));
}

void flipScreen()
{
    if (screen)
        SDL_Flip(screen);
}

void drawIntroBackground(const char* text)
{
    fillScreen(255);
    if (screen && introImage)
        SDL_UpperBlit(introImage, nullptr, screen, nullptr);
    drawSmallText(screen, text, TEXT_X, TEXT_Y, INK[0], INK[1], INK[2]);
    drawIntroTitle();
}
}  // namespace

const char* nextLoadingText()
{
    static const char* const texts[9] = {
        "loading.", "loading..", "loading...", "loading....", "loading.....",
        "loading......", "loading.......", "loading........", "loading........."};
    loadingStep = loadingStep > 9 ? 1 : loadingStep + 1;
    return texts[(loadingStep < 9 ? loadingStep : 9) - 1];
}

void drawIntroTitle()
{
    drawMediumText(screen, "Presents", 128, 128, 0, 0, 0);
    drawMediumText(screen, "Presents", 129, 129, INK[0], INK[1], INK[2]);
    const char* title = "QUINDARA  -  the endless road";
    drawMediumText(screen, title, 38, 149, 0, 0, 0);
    drawMediumText(screen, title, 39, 150, INK[0], INK[1], INK[2]);
}

void drawIntroScreen()
{
    if (!screen)
        return;
    ++introScreensDrawn;
    drawIntroBackground(nextLoadingText());
    flipScreen();
}

void fadeToWhite()
{
    for (int v = 0; v <= 255; ++v) {
        fillScreen(static_cast<Uint8>(v));
        flipScreen();
    }
}

void fadeToBlack()
{
    for (int v = 255; v >= 0; --v) {
        fillScreen(static_cast<Uint8>(v));
        flipScreen();
    }
}

void waitForAnyPress()
{
    bool pressed = false;
    for (;;) {
        SDL_Event event;
        if (!SDL_PollEvent(&event)) {
            if (pressed || quitSignalled())
                return;
            continue;
        }
        if (event.type == SDL_KEYDOWN || event.type == SDL_JOYBUTTONDOWN)
            pressed = true;
        if (quitSignalled())
            return;
    }
}

std::string dataFolderFor(const std::string& programFolder)
{
    // A build or a copy keeps _resources beside the program; the Debian package keeps the
    // program in /usr/games and its data in /usr/share/games/quindara.
    for (const char* relative : {"", "/../share/games/quindara", "/../share/quindara"}) {
        const std::string folder = programFolder + relative;
        struct stat info;
        if (stat((folder + "/_resources").c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return folder;
    }
    return programFolder;
}

void enterProgramFolder()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return;
    path[n] = '\0';
    std::string folder(path);
    const size_t slash = folder.rfind('/');
    if (slash == std::string::npos)
        return;
    folder.resize(slash == 0 ? 1 : slash);
    folder = dataFolderFor(folder);
    if (chdir(folder.c_str()) != 0)
        std::printf("Could not enter %s\n", folder.c_str());
}

void chooseWindowScaling(int scale)
{
    if (scale >= 1 && scale <= 8)
        setenv("SDL12COMPAT_WINDOW_SCALING", std::to_string(scale).c_str(), 1);
    else
        setenv("SDL12COMPAT_WINDOW_SCALING", "3", 0);
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
}

bool fellBackOffScreen()
{
    if (std::getenv("SDL_VIDEODRIVER"))
        return false;   // the player asked for this driver
    char name[32] = "";
    SDL_VideoDriverName(name, sizeof name);
    return std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0;
}

void toggleFullScreen()
{
    if (screen)
        SDL_WM_ToggleFullScreen(screen);
}

bool initialise(bool fullScreen, bool withSound)
{
    // Audio starts on its own later: a sound driver that cannot start must not stop the rest.
    SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
    SDL_ShowCursor(0);
    // With no display SDL would quietly draw into memory, leaving the player with nothing
    // on screen and a game waiting for a key that can never come.
    if (!fellBackOffScreen())
        screen = SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, 16,
                                  SDL_HWSURFACE | SDL_DOUBLEBUF | (fullScreen ? SDL_FULLSCREEN : 0));
    if (!screen) {
        std::printf("SDL_SetVideoMode screen not initialised.\n");
        std::fflush(stdout);
        SDL_Quit();
        return false;
    }
    SDL_ShowCursor(0);
    SDL_WM_SetCaption(WINDOW_CAPTION, nullptr);
    joystick = SDL_JoystickOpen(0);
    TTF_Init();
    if (withSound)
        soundOpenDevice();
    openFonts(12);
    fadeToWhite();
    SDL_Surface* raw = IMG_Load("_resources/gameIntro.bmp");
    introImage = convertPicture(raw, false);
    if (raw)
        SDL_FreeSurface(raw);
    drawIntroScreen();
    drawIntroScreen();
    return true;
}

int loadGame(TileList& tiles)
{
    levelNumber = 1;
    drawIntroScreen();
    levelTileCount = countLevelTiles(levelNumber);
    tiles.assign(levelTileCount, Tile());
    loadAssets();
    drawIntroScreen();
    if (!loadLevel(tiles, levelNumber))
        return EXIT_NO_LEVEL;
    drawIntroScreen();
    return 0;
}

void drawReadyBanner()
{
    gameState = STATE_ATTRACT;
    std::string banner = nextLoadingText();
    banner += VERSION_TEXT;
    banner += READY_TEXT;
    drawIntroBackground(banner.c_str());
    loadSettings();
    soundVolume(settings.volume);
    masterVolume = settings.volume;
    flipScreen();
}

void showReadyBanner()
{
    drawReadyBanner();
    delayMs(750);
    waitForAnyPress();
    fadeToBlack();
}

bool isInstalledCopy() { return access(INSTALLED_MARKER, F_OK) == 0; }

void startFrameLoop(FrameLoop& loop)
{
    loop.fpsIntervalWatch.start();
    loop.runWatch.start();
    loop.framesCounted = 0;
    loop.fpsEstimate = 0.0f;
}

int frameSleepMs(int elapsedMs, bool capOn)
{
    if (!capOn || elapsedMs > 18)
        return 0;
    return 19 - (elapsedMs < 0 ? 0 : elapsedMs);
}

bool runFrame(FrameLoop& loop, TileList& tiles)
{
    replayFrameBegins(loop);
    loop.frameWatch.start();
    if (updateFrame(tiles)) {
        replayFrameEnds(true);
        return true;
    }
    ++loop.framesCounted;
    if (loop.fpsIntervalWatch.elapsed() > 500) {
        const int runMs = loop.runWatch.elapsed();
        if (runMs > 0) {
            const float fps = static_cast<float>(loop.framesCounted) / (runMs / 1000.0f);
            if (std::isfinite(fps))
                loop.fpsEstimate = fps;
        }
        loop.fpsIntervalWatch.start();
    }
    drawFrame(tiles, loop.fpsEstimate);
    const int sleep = frameSleepMs(loop.frameWatch.elapsed(), frameCapOn);
    if (sleep > 0)
        delayMs(static_cast<uint32_t>(sleep));
    replayFrameEnds(false);
    return false;
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
    for (Tile& tile : tiles)
        tile.release();
    soundCloseDevice();
    closeFonts();
    if (joystick)
        SDL_JoystickClose(joystick);
    joystick = nullptr;
    TTF_Quit();
    SDL_Quit();
}

int runGame(const Options& options)
{
    installQuitSignals();
    enterProgramFolder();
    chooseWindowScaling(options.scale);
    locateSettings(isInstalledCopy());
    resetMarkers();
    if (!initialise(options.fullscreen))
        return EXIT_NO_SCREEN;
    TileList tiles;
    const int status = loadGame(tiles);
    if (status != 0)
        return status;
    if (quitSignalled()) {
        // Asked to stop before the settings were read: nothing of the player's to save, and
        // a save now would write zeros over the stored high score.
        shutdown(tiles, false);
        return 0;
    }
    showReadyBanner();
    // Every run is kept beside the settings, to be watched again with --replay.
    recordRuns(settingsFolder(), tiles);
    FrameLoop loop;
    startFrameLoop(loop);
    if (!quitSignalled())
        while (!runFrame(loop, tiles)) {
        }
    shutdown(tiles, true);
    return 0;
}
