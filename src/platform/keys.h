#pragma once

union SDL_Event;

// SDL 1.2 key symbols the game reads.
constexpr int KEY_BACKSPACE = 8;
constexpr int KEY_CLEAR = 12;
constexpr int KEY_RETURN = 13;
constexpr int KEY_ESCAPE = 27;
constexpr int KEY_F = 102;
constexpr int KEY_G = 103;
constexpr int KEY_P = 112;
constexpr int KEY_Q = 113;
constexpr int KEY_S = 115;
constexpr int KEY_W = 119;
constexpr int KEY_UP = 273;
constexpr int KEY_DOWN = 274;
constexpr int KEY_RIGHT = 275;
constexpr int KEY_LEFT = 276;
constexpr int KEY_F11 = 292;
constexpr int KEY_LSHIFT = 304;

constexpr int KEY_SLOTS = 324;    // every SDL 1.2 key symbol (below 323)
constexpr int BUTTON_SLOTS = 324; // joystick buttons arrive as 0..255

// The game's joystick buttons (a game controller's presses arrive as these): the eight
// directions from up round to up-right, start, quit, the overlay, accelerate, the volume, the
// ghost.
constexpr int BUTTON_UP = 0, BUTTON_LEFT = 2, BUTTON_DOWN = 4, BUTTON_RIGHT = 6;
constexpr int BUTTON_START = 8, BUTTON_QUIT = 9, BUTTON_OVERLAY = 11, BUTTON_ACCELERATE = 15;
constexpr int BUTTON_VOLUME_UP = 16, BUTTON_VOLUME_DOWN = 17;
constexpr int BUTTON_GHOST = 12;    // a pad's X
constexpr int BUTTON_BRAKE = 13;    // a pad's B
constexpr int BUTTON_SETTINGS = 10; // a pad's Guide

// The key symbol of a key event as the plain number it arrived as: read through SDL's enum
// type, a value outside the enumeration would be undefined before any check could act.
long keySymbolOf(const SDL_Event& event);
void setKeySymbol(SDL_Event& event, long symbol);
