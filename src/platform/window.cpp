#include "platform/window.h"
#include "platform/loaded_library.h"
#include "version.h"
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

SDL_Surface* screen = nullptr;

namespace
{
const char* const WINDOW_CAPTION = "Quindara..." QUINDARA_VERSION_TEXT;
}

void chooseWindowScaling(int scale)
{
    if (scale >= 1 && scale <= 8)
        setenv("SDL12COMPAT_WINDOW_SCALING", std::to_string(scale).c_str(), 1);
    else
        setenv("SDL12COMPAT_WINDOW_SCALING", std::to_string(DEFAULT_WINDOW_SCALE).c_str(), 0);
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

// On X, full screen is the window manager's job: SDL asks it to fill the desktop. With no
// window manager that offers it, SDL shrinks the window to 320x240 and draws the corner of a
// desktop-sized picture in it, so the game keeps its window instead.
using Atom = unsigned long;
struct Xlib {
    void* (*openDisplay)(const char*);
    int (*closeDisplay)(void*);
    Atom (*internAtom)(void*, const char*, int);
    unsigned long (*rootWindow)(void*);
    int (*getProperty)(void*, unsigned long, Atom, long, long, int, Atom, Atom*, int*,
                       unsigned long*, unsigned long*, unsigned char**);
    int (*release)(void*);
};

bool windowManagerOffersFullScreen()
{
    char driver[32] = "";
    SDL_VideoDriverName(driver, sizeof driver);
    void* library = loadedLibrary("libX11.so.6");
    Xlib x{};
    void* display = nullptr;
    if (std::strcmp(driver, "x11") != 0 || !lookUp(library, "XOpenDisplay", x.openDisplay) ||
        !lookUp(library, "XCloseDisplay", x.closeDisplay) ||
        !lookUp(library, "XInternAtom", x.internAtom) ||
        !lookUp(library, "XDefaultRootWindow", x.rootWindow) ||
        !lookUp(library, "XGetWindowProperty", x.getProperty) ||
        !lookUp(library, "XFree", x.release) || !(display = x.openDisplay(nullptr)))
        return true; // not X, or no way to ask: let SDL try
    // The window manager lists what it supports on the root window.
    const Atom supported = x.internAtom(display, "_NET_SUPPORTED", 1);
    const Atom fullScreen = x.internAtom(display, "_NET_WM_STATE_FULLSCREEN", 1);
    constexpr Atom ATOM_TYPE = 4;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    const bool listed = supported && fullScreen &&
                        x.getProperty(display, x.rootWindow(display), supported, 0, 4096, 0,
                                      ATOM_TYPE, &type, &format, &count, &left, &data) == 0 &&
                        data && type == ATOM_TYPE && format == 32;
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    const bool offered = listed && std::find(atoms, atoms + count, fullScreen) != atoms + count;
    if (data)
        x.release(data);
    x.closeDisplay(display);
    return offered;
}

// Full screen where it can be had; said once when it cannot.
bool fullScreenPossible()
{
    if (windowManagerOffersFullScreen())
        return true;
    static bool said = false;
    if (!said)
        std::fprintf(stderr, "Quindara: full screen needs a window manager that offers it; the "
                             "game stays in its window.\n");
    said = true;
    return false;
}

// Started full screen, the window SDL keeps for leaving it is a 320x240 one centred on the
// desktop; the larger window it then becomes hangs off the desktop's edge. It is centred
// again through SDL2, as the 1.2 calls cannot move a window.
void centreWindow()
{
    void* sdl2 = loadedLibrary(SDL2_LIBRARY);
    void* (*window)(Uint32) = nullptr;
    void (*place)(void*, int, int) = nullptr;
    if (!lookUp(sdl2, "SDL_GetWindowFromID", window) ||
        !lookUp(sdl2, "SDL_SetWindowPosition", place))
        return;
    constexpr int CENTRED = 0x2FFF0000;
    for (Uint32 id = 1; id < 256; ++id) {
        if (void* found = window(id)) {
            place(found, CENTRED, CENTRED);
            return;
        }
    }
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
        screen = setMode(fullScreen && fullScreenPossible());
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
bool showingFrames = true;
} // namespace

void showFrames(bool on)
{
    showingFrames = on;
}

bool framesShown()
{
    return showingFrames;
}

void presentScreen()
{
    if (screen && showingFrames)
        SDL_Flip(screen);
}

void lockFullScreen(bool locked)
{
    fullScreenLocked = locked;
}

bool isFullScreen()
{
    return screen && (screen->flags & SDL_FULLSCREEN) != 0;
}

void setWindowScale(int scale)
{
    chooseWindowScaling(scale);
    if (scale < 1)
        setenv("SDL12COMPAT_WINDOW_SCALING", std::to_string(DEFAULT_WINDOW_SCALE).c_str(), 1);
    if (!screen || fullScreenLocked || isFullScreen())
        return; // a full screen keeps its size; the window takes the scale when it comes back
    fitScaleToDesktop();
    if (SDL_Surface* next = setMode(false)) {
        screen = next;
        centreWindow();
    }
}

void toggleFullScreen()
{
    if (!screen)
        return;
    // The screen starts afresh, as a new mode starts it, whether or not the mode changes (no
    // window manager to give full screen, a check without a window): the frames after the
    // press are then drawn alike wherever the run is played or replayed.
    SDL_FillRect(screen, nullptr, 0);
    if (fullScreenLocked)
        return;
    // The mode set again rather than toggled: leaving full screen then gives back the window
    // at the chosen scale, which the toggle forgets. Where the new mode cannot be had, the
    // old one is set again.
    const bool full = (screen->flags & SDL_FULLSCREEN) != 0;
    if (!full && !fullScreenPossible())
        return;
    if (SDL_Surface* next = setMode(!full)) {
        screen = next;
        if (full)
            centreWindow();
    } else if (SDL_Surface* back = setMode(full))
        screen = back;
}
