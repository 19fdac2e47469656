#pragma once

// Game controllers: a pad that SDL2 (the library under the game's SDL 1.2 calls) recognises
// from its database of pad layouts, or from the player's own SDL_GAMECONTROLLERCONFIG, is
// read in the standard layout (or the player's own, setPadLayout) and acts as the joystick
// buttons of the game's table would:
//
//   d-pad or left stick      up 0, down 4, left 2, right 6; diagonals 1, 7, 3, 5
//   A or right trigger       15 (accelerate)      B or left trigger   13 (brake)
//   Start                    8 (coin, start, pause)   Back   9 (quit)   Y   11 (overlay)
//   right / left shoulder    16 / 17 (volume up / down)
//
// Its changes are put on SDL's queue as joystick-button events, so the game, the ready
// banner's wait and a recording take them as they take a joystick's buttons; that pad's own
// raw button numbers are then left out. Any other joystick keeps its raw numbers. A pad
// plugged in while the game runs is picked up at the next frame, a controller in its layout,
// any other joystick by its numbers (read through SDL2: the 1.2 calls do not see it).
void pollGamepad();
// True while joystick 0 is read as a game controller.
bool gamepadActive();
// A stick counts as a direction from half its travel.
constexpr int STICK_THRESHOLD = 16384;
// Joystick-button events the game made from a game controller carry this `which`.
constexpr int GAMEPAD_WHICH = 0xff;
void resetGamepadState();

// The pad's layout: which of its buttons (SDL2's standard numbering: A 0, B 1, X 2, Y 3, Back 4,
// Guide 5, Start 6, the stick presses 7 and 8, the shoulders 9 and 10) acts as each of the
// game's buttons. The d-pad and the stick always steer; the triggers always accelerate and brake.
enum PadRole {
    PAD_ROLE_ACCELERATE,
    PAD_ROLE_BRAKE,
    PAD_ROLE_START,
    PAD_ROLE_QUIT,
    PAD_ROLE_DIAGNOSTICS,
    PAD_ROLE_GHOST,
    PAD_ROLE_SETTINGS,
    PAD_ROLE_VOLUME_UP,
    PAD_ROLE_VOLUME_DOWN,
    PAD_ROLES
};
constexpr int PAD_BUTTONS = 11;              // the pad's own buttons a role may take
extern const int* const DEFAULT_PAD_BUTTONS; // PAD_ROLES of them
void setPadLayout(const int buttons[PAD_ROLES]);
// The pad's own button held now (the lowest), or -1: for giving a role another.
int padButtonHeld();
const char* padButtonName(int button);
