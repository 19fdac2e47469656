#include "shell/startup.h"
#include "present/assets.h"
#include "present/render.h"
#include "present/sound.h"
#include "present/text.h"
#include "shell/clock.h"
#include "shell/game.h"
#include "shell/settings.h"
#include "shell/states.h"
#include "sim/car.h"
#include "track/track.h"
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
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
            if (pressed)
                return;
            continue;
        }
        if (event.type == SDL_KEYDOWN || event.type == SDL_JOYBUTTONDOWN)
            pressed = true;
    }
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
    if (chdir(folder.c_str()) != 0)
        std::printf("Could not enter %s\n", folder.c_str());
}

void chooseWindowScaling()
{
    setenv("SDL12COMPAT_WINDOW_SCALING", "3", 0);
    setenv("SDL12COMPAT_SCALE_METHOD", "nearest", 0);
}

bool initialise()
{
    SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
    SDL_ShowCursor(0);
    screen = SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, 16, SDL_HWSURFACE | SDL_DOUBLEBUF);
    if (!screen) {
        std::printf("SDL_SetVideoMode screen not initialised.\n");
        return false;
    }
    SDL_ShowCursor(0);
    SDL_WM_SetCaption(WINDOW_CAPTION, nullptr);
    joystick = SDL_JoystickOpen(0);
    TTF_Init();
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

void showReadyBanner()
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
    delayMs(750);
    waitForAnyPress();
    fadeToBlack();
}

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
    loop.frameWatch.start();
    if (updateFrame(tiles))
        return true;
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
    return false;
}

void shutdown(TileList& tiles)
{
    soundHalt(-1);
    settings.volume = masterVolume;
    saveSettings();
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

int runGame()
{
    enterProgramFolder();
    chooseWindowScaling();
    resetMarkers();
    if (!initialise())
        return EXIT_NO_SCREEN;
    TileList tiles;
    const int status = loadGame(tiles);
    if (status != 0)
        return status;
    showReadyBanner();
    FrameLoop loop;
    startFrameLoop(loop);
    while (!runFrame(loop, tiles)) {
    }
    shutdown(tiles);
    return 0;
}
