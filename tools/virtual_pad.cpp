// SDL2's own calls, looked up with dlsym: the SDL 1.2 library exports namesakes of several
// of them (SDL_JoystickOpen, SDL_NumJoysticks, ...) that win a plain link.
#include "virtual_pad.h"
#include <cstdint>
#include <dlfcn.h>

namespace
{
struct Desc { // SDL2 2.26's SDL_VirtualJoystickDesc, version 1
    uint16_t version = 1, type = 0, naxes = 0, nbuttons = 0, nhats = 0, vendor = 0, product = 0,
             padding = 0;
    uint32_t buttonMask = 0, axisMask = 0;
    const char* name = nullptr;
    void* callbacks[7] = {}; // userdata and six callbacks, none used
};
constexpr uint32_t SDL2_INIT_JOYSTICK = 0x200;

struct Sdl2 {
    int (*initSubSystem)(uint32_t);
    uint32_t (*wasInit)(uint32_t);
    int (*attachEx)(const Desc*);
    int (*attach)(int type, int axes, int buttons, int hats);
    int (*detach)(int device);
    void* (*open)(int device);
    void (*close)(void*);
    int (*setButton)(void*, int, uint8_t);
    int (*setAxis)(void*, int, int16_t);
};

const Sdl2* sdl2()
{
    static Sdl2 calls;
    static bool found = [] {
        void* lib = dlopen("libSDL2-2.0.so.0", RTLD_NOW);
        auto get = [lib](const char* name) { return lib ? dlsym(lib, name) : nullptr; };
        calls.initSubSystem = reinterpret_cast<int (*)(uint32_t)>(get("SDL_InitSubSystem"));
        calls.wasInit = reinterpret_cast<uint32_t (*)(uint32_t)>(get("SDL_WasInit"));
        calls.attachEx = reinterpret_cast<int (*)(const Desc*)>(get("SDL_JoystickAttachVirtualEx"));
        calls.attach =
            reinterpret_cast<int (*)(int, int, int, int)>(get("SDL_JoystickAttachVirtual"));
        calls.detach = reinterpret_cast<int (*)(int)>(get("SDL_JoystickDetachVirtual"));
        calls.open = reinterpret_cast<void* (*)(int)>(get("SDL_JoystickOpen"));
        calls.close = reinterpret_cast<void (*)(void*)>(get("SDL_JoystickClose"));
        calls.setButton =
            reinterpret_cast<int (*)(void*, int, uint8_t)>(get("SDL_JoystickSetVirtualButton"));
        calls.setAxis =
            reinterpret_cast<int (*)(void*, int, int16_t)>(get("SDL_JoystickSetVirtualAxis"));
        return calls.initSubSystem && calls.wasInit && calls.attachEx && calls.attach &&
               calls.detach && calls.open && calls.close && calls.setButton && calls.setAxis;
    }();
    return found ? &calls : nullptr;
}
} // namespace

VirtualPad::VirtualPad(Kind kind)
{
    const Sdl2* s = sdl2();
    if (!s || s->initSubSystem(SDL2_INIT_JOYSTICK) != 0)
        return;
    if (kind == GAME_CONTROLLER) {
        Desc d;
        d.type = 1; // a game controller
        d.naxes = 6, d.nbuttons = 15, d.buttonMask = 0x7fff, d.axisMask = 0x3f;
        d.name = "Quindara test pad";
        device_ = s->attachEx(&d);
    } else {
        device_ = s->attach(2, 0, 20, 0); // a wheel
    }
    joystick_ = device_ >= 0 ? s->open(device_) : nullptr;
}

VirtualPad::~VirtualPad()
{
    const Sdl2* s = sdl2();
    // Once SDL has shut down, its joysticks are gone with it.
    if (!s || !joystick_ || !s->wasInit(SDL2_INIT_JOYSTICK))
        return;
    s->close(joystick_);
    s->detach(device_);
}

void VirtualPad::button(int index, bool down)
{
    if (joystick_)
        sdl2()->setButton(joystick_, index, down ? 1 : 0);
}

void VirtualPad::axis(int index, int value)
{
    if (joystick_)
        sdl2()->setAxis(joystick_, index, static_cast<int16_t>(value));
}
