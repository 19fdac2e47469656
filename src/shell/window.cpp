#include "shell/window.h"
#include "shell/game.h"
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
        return false; // the player asked for this driver
    char name[32] = "";
    SDL_VideoDriverName(name, sizeof name);
    return std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0;
}

namespace
{
// A window larger than the desktop opens partly off it: the scale is lowered to the largest
// that fits, once SDL knows the desktop's size (it takes the scale when the window opens).
void fitScaleToDesktop()
{
    const char* chosen = std::getenv("SDL12COMPAT_WINDOW_SCALING");
    const int scale = chosen ? std::atoi(chosen) : 1;
    const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
    if (!desktop || desktop->current_w <= 0 || desktop->current_h <= 0 || scale <= 1)
        return;
    int fits = std::min(desktop->current_w / SCREEN_WIDTH, desktop->current_h / SCREEN_HEIGHT);
    fits = std::max(fits, 1);
    if (scale <= fits)
        return;
    std::fprintf(stderr,
                 "Quindara: a window %d times the screen does not fit the %dx%d desktop; it opens "
                 "%d times.\n",
                 scale, desktop->current_w, desktop->current_h, fits);
    setenv("SDL12COMPAT_WINDOW_SCALING", std::to_string(fits).c_str(), 1);
}

// The window's icon: the player's red car.
void setWindowIcon()
{
    SDL_Surface* icon = SDL_LoadBMP("_resources/bmpImgCarRedUp.bmp");
    if (!icon)
        return;
    SDL_SetColorKey(icon, SDL_SRCCOLORKEY, SDL_MapRGB(icon->format, 255, 0, 255));
    SDL_WM_SetIcon(icon, nullptr);
    SDL_FreeSurface(icon);
}

// The game's one video mode, in a window or full screen; null when it cannot be had.
SDL_Surface* setMode(bool fullScreen)
{
    return SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, 16,
                            SDL_HWSURFACE | SDL_DOUBLEBUF | (fullScreen ? SDL_FULLSCREEN : 0));
}
} // namespace

bool openWindow(bool fullScreen)
{
    SDL_ShowCursor(0);
    // With no display SDL would quietly draw into memory, leaving the player with nothing
    // on screen and a game waiting for a key that can never come.
    if (!fellBackOffScreen()) {
        fitScaleToDesktop();
        setWindowIcon();
        screen = setMode(fullScreen);
    }
    if (!screen) {
        std::printf("SDL_SetVideoMode screen not initialised.\n");
        std::fflush(stdout);
        return false;
    }
    SDL_ShowCursor(0);
    SDL_WM_SetCaption(WINDOW_CAPTION, nullptr);
    return true;
}

namespace
{
bool fullScreenLocked = false;
}

void lockFullScreen(bool locked)
{
    fullScreenLocked = locked;
}

void toggleFullScreen()
{
    if (!screen || fullScreenLocked)
        return;
    // The mode set again rather than toggled: leaving full screen then gives back the window
    // at the chosen scale, which the toggle forgets. Where the new mode cannot be had, the
    // old one is set again.
    const bool full = (screen->flags & SDL_FULLSCREEN) != 0;
    if (SDL_Surface* next = setMode(!full))
        screen = next;
    else if (SDL_Surface* back = setMode(full))
        screen = back;
}
