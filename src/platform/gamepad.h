#pragma once

// Game controllers: a pad that SDL2 (the library under the game's SDL 1.2 calls) recognises
// from its database of pad layouts, or from the player's own SDL_GAMECONTROLLERCONFIG, is
// read in the standard layout and acts as the joystick buttons of the game's table would:
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
