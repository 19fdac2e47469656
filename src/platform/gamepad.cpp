// SDL 1.2 has no notion of game controllers, but the SDL2 library that carries its calls has
// a database of pad layouts. It is reached by looking its functions up in that library with
// dlsym: the SDL 1.2 library exports namesakes of SDL2's joystick calls, which a plain link
// would bind to instead. No layout table of the game's own is needed.
#include "platform/gamepad.h"
#include "platform/keys.h"
#include "platform/loaded_library.h"
#include <SDL.h>
#include <algorithm>
#include <array>

namespace
{
// SDL2's standard layout.
enum PadButton {
    PAD_A = 0,
    PAD_B = 1,
    PAD_X = 2,
    PAD_Y = 3,
    PAD_BACK = 4,
    PAD_GUIDE = 5,
    PAD_START = 6,
    PAD_LEFT_SHOULDER = 9,
    PAD_RIGHT_SHOULDER = 10,
    PAD_UP = 11,
    PAD_DOWN = 12,
    PAD_LEFT = 13,
    PAD_RIGHT = 14
};
enum PadAxis { AXIS_LEFT_X = 0, AXIS_LEFT_Y = 1, AXIS_LEFT_TRIGGER = 4, AXIS_RIGHT_TRIGGER = 5 };
constexpr unsigned SDL2_INIT_GAMECONTROLLER = 0x2000;

struct Sdl2 {
    int (*initSubSystem)(unsigned flags) = nullptr;
    int (*numJoysticks)() = nullptr;
    int (*deviceInstance)(int index) = nullptr;
    int (*isGameController)(int index) = nullptr;
    void* (*open)(int index) = nullptr;
    void (*close)(void* pad) = nullptr;
    int (*attached)(void* pad) = nullptr;
    void (*update)() = nullptr;
    Uint8 (*button)(void* pad, int button) = nullptr;
    Sint16 (*axis)(void* pad, int axis) = nullptr;
    void* (*openJoystick)(int index) = nullptr;
    void (*closeJoystick)(void* joystick) = nullptr;
    int (*joystickAttached)(void* joystick) = nullptr;
    int (*joystickButtons)(void* joystick) = nullptr;
    Uint8 (*joystickButton)(void* joystick, int button) = nullptr;
};

Sdl2 sdl2;
bool looked = false;
void* pad = nullptr;
// A joystick that is no game controller, plugged in after start-up: the 1.2 calls see only
// the joysticks there at the start, so its buttons are read through SDL2, by their numbers.
void* lateJoystick = nullptr;
// SDL2's number for the joystick the 1.2 calls opened at start-up (-1: none). Unplugged, it
// never comes back under that number: plugged in again, it is a late joystick like any other,
// while the 1.2 calls hold on to the one that went.
int startJoystick = -1;
bool held[BUTTON_SLOTS];
// The game's button each role presses, and the pad's button that has the role.
constexpr int ROLE_BUTTON[PAD_ROLES] = {BUTTON_ACCELERATE, BUTTON_BRAKE,     BUTTON_START,
                                        BUTTON_QUIT,       BUTTON_OVERLAY,   BUTTON_GHOST,
                                        BUTTON_SETTINGS,   BUTTON_VOLUME_UP, BUTTON_VOLUME_DOWN};
constexpr std::array<int, PAD_ROLES> STANDARD_LAYOUT = {
    PAD_A, PAD_B,     PAD_START,          PAD_BACK,         PAD_Y,
    PAD_X, PAD_GUIDE, PAD_RIGHT_SHOULDER, PAD_LEFT_SHOULDER};
std::array<int, PAD_ROLES> layout = STANDARD_LAYOUT;
} // namespace

const int* const DEFAULT_PAD_BUTTONS = STANDARD_LAYOUT.data();

namespace
{

bool lookUpSdl2()
{
    if (looked)
        return sdl2.open != nullptr;
    looked = true;
    void* library = loadedLibrary(SDL2_LIBRARY);
    Sdl2 found;
    if (!lookUp(library, "SDL_InitSubSystem", found.initSubSystem) ||
        !lookUp(library, "SDL_NumJoysticks", found.numJoysticks) ||
        !lookUp(library, "SDL_JoystickGetDeviceInstanceID", found.deviceInstance) ||
        !lookUp(library, "SDL_IsGameController", found.isGameController) ||
        !lookUp(library, "SDL_GameControllerOpen", found.open) ||
        !lookUp(library, "SDL_GameControllerClose", found.close) ||
        !lookUp(library, "SDL_GameControllerGetAttached", found.attached) ||
        !lookUp(library, "SDL_GameControllerUpdate", found.update) ||
        !lookUp(library, "SDL_GameControllerGetButton", found.button) ||
        !lookUp(library, "SDL_GameControllerGetAxis", found.axis) ||
        !lookUp(library, "SDL_JoystickOpen", found.openJoystick) ||
        !lookUp(library, "SDL_JoystickClose", found.closeJoystick) ||
        !lookUp(library, "SDL_JoystickGetAttached", found.joystickAttached) ||
        !lookUp(library, "SDL_JoystickNumButtons", found.joystickButtons) ||
        !lookUp(library, "SDL_JoystickGetButton", found.joystickButton))
        return false; // an SDL without controllers: joysticks keep their raw numbers
    if (found.initSubSystem(SDL2_INIT_GAMECONTROLLER) != 0)
        return false;
    sdl2 = found;
    startJoystick = SDL_JoystickOpened(0) && sdl2.numJoysticks() > 0 ? sdl2.deviceInstance(0) : -1;
    return true;
}

void press(int button, bool down)
{
    if (held[button] == down)
        return;
    held[button] = down;
    SDL_Event e = {};
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.which = GAMEPAD_WHICH;
    e.jbutton.button = static_cast<Uint8>(button);
    SDL_PushEvent(&e);
}

void releaseAll()
{
    for (int b = 0; b < BUTTON_SLOTS; ++b)
        press(b, false);
}

// The direction's button: 0 up, then round anticlockwise to 7 up-right; -1 for none.
int directionButton(bool up, bool down, bool left, bool right)
{
    const int v = up == down ? 0 : up ? 1 : -1, h = left == right ? 0 : left ? -1 : 1;
    static const int buttons[3][3] = {{3, 4, 5}, {2, -1, 6}, {1, 0, 7}}; // [v + 1][h + 1]
    return buttons[v + 1][h + 1];
}
} // namespace

void pollGamepad()
{
    if (!lookUpSdl2())
        return;
    sdl2.update();
    if (pad && !sdl2.attached(pad)) {
        sdl2.close(pad);
        pad = nullptr;
        releaseAll();
    }
    if (lateJoystick && !sdl2.joystickAttached(lateJoystick)) {
        sdl2.closeJoystick(lateJoystick);
        lateJoystick = nullptr;
        releaseAll();
    }
    const bool plugged = sdl2.numJoysticks() > 0;
    if (!pad && !lateJoystick && plugged && sdl2.isGameController(0))
        pad = sdl2.open(0);
    else if (!pad && !lateJoystick && plugged && sdl2.deviceInstance(0) != startJoystick)
        lateJoystick = sdl2.openJoystick(0);
    if (lateJoystick) {
        const int buttons = std::min(sdl2.joystickButtons(lateJoystick), 256);
        for (int b = 0; b < buttons; ++b)
            press(b, sdl2.joystickButton(lateJoystick, b) != 0);
    }
    if (!pad)
        return;
    auto on = [](int b) { return sdl2.button(pad, b) != 0; };
    auto axis = [](int a) { return static_cast<int>(sdl2.axis(pad, a)); };
    const int x = axis(AXIS_LEFT_X), y = axis(AXIS_LEFT_Y);
    const int direction = directionButton(
        on(PAD_UP) || y <= -STICK_THRESHOLD, on(PAD_DOWN) || y >= STICK_THRESHOLD,
        on(PAD_LEFT) || x <= -STICK_THRESHOLD, on(PAD_RIGHT) || x >= STICK_THRESHOLD);
    for (int b = 0; b < 8; ++b)
        if (b != direction)
            press(b, false); // the old direction goes before the new one comes
    if (direction >= 0)
        press(direction, true);
    for (int role = 0; role < PAD_ROLES; ++role) {
        const bool trigger =
            (role == PAD_ROLE_ACCELERATE && axis(AXIS_RIGHT_TRIGGER) >= STICK_THRESHOLD) ||
            (role == PAD_ROLE_BRAKE && axis(AXIS_LEFT_TRIGGER) >= STICK_THRESHOLD);
        press(ROLE_BUTTON[role], on(layout[role]) || trigger);
    }
}

void setPadLayout(const int buttons[PAD_ROLES])
{
    for (int role = 0; role < PAD_ROLES; ++role)
        layout[role] = buttons[role] >= 0 && buttons[role] < PAD_BUTTONS
                           ? buttons[role]
                           : DEFAULT_PAD_BUTTONS[role];
}

int padButtonHeld()
{
    if (!pad)
        return -1;
    for (int b = 0; b < PAD_BUTTONS; ++b)
        if (sdl2.button(pad, b))
            return b;
    return -1;
}

const char* padButtonName(int button)
{
    static const char* const NAMES[PAD_BUTTONS] = {"A",
                                                   "B",
                                                   "X",
                                                   "Y",
                                                   "Back",
                                                   "Guide",
                                                   "Start",
                                                   "left stick",
                                                   "right stick",
                                                   "left shoulder",
                                                   "right shoulder"};
    return button >= 0 && button < PAD_BUTTONS ? NAMES[button] : "?";
}

bool gamepadActive()
{
    return pad != nullptr;
}

void resetGamepadState()
{
    pad = nullptr; // SDL closes them when it shuts down
    lateJoystick = nullptr;
    startJoystick = -1;
    looked = false; // and the controllers are started again with SDL
    sdl2 = Sdl2();
    layout = STANDARD_LAYOUT;
    for (bool& h : held)
        h = false;
}
