#include "present/intro.h"
#include "platform/clock.h"
#include "platform/gamepad.h"
#include "platform/signals.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "present/text.h"
#include "state/game.h"
#include <SDL.h>
#include <string>

IntroScreen intro;

namespace
{
constexpr int TEXT_X = 10;
constexpr int TEXT_Y = 220;
constexpr int INK[3] = {56, 117, 137};
const char* const READY_TEXT = " ready...(X or ENTER to START)";

void fillScreen(Uint8 v)
{
    if (screen)
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, v, v, v));
}

void drawIntroBackground(const char* text)
{
    fillScreen(255);
    if (screen && intro.introImage)
        SDL_UpperBlit(intro.introImage, nullptr, screen, nullptr);
    drawSmallText(screen, text, TEXT_X, TEXT_Y, INK[0], INK[1], INK[2]);
    drawIntroTitle();
}

void fade(int from, int to)
{
    if (!framesShown())
        return;
    const int step = from < to ? 1 : -1;
    for (int v = from;; v += step) {
        fillScreen(static_cast<Uint8>(v));
        presentScreen();
        if (v == to)
            break;
    }
}
} // namespace

void resetIntroState()
{
    intro = IntroScreen();
}

const char* nextLoadingText()
{
    static const char* const texts[9] = {"loading.",       "loading..",       "loading...",
                                         "loading....",    "loading.....",    "loading......",
                                         "loading.......", "loading........", "loading........."};
    intro.loadingStep = intro.loadingStep > 9 ? 1 : intro.loadingStep + 1;
    return texts[(intro.loadingStep < 9 ? intro.loadingStep : 9) - 1];
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
    ++intro.introScreensDrawn;
    const char* text = nextLoadingText();
    if (!framesShown())
        return;
    drawIntroBackground(text);
    presentScreen();
}

void fadeToWhite()
{
    fade(0, 255);
}
void fadeToBlack()
{
    fade(255, 0);
}

void waitForAnyPress()
{
    bool pressed = false;
    for (;;) {
        pollGamepad(); // a game controller's directions end the wait too
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

void drawReadyBanner()
{
    std::string banner = nextLoadingText();
    banner += VERSION_TEXT;
    banner += READY_TEXT;
    drawIntroBackground(banner.c_str());
    presentScreen();
}

void showReadyBanner()
{
    drawReadyBanner();
    delayMs(750);
    waitForAnyPress();
    fadeToBlack();
}
