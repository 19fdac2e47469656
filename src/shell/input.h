#pragma once
#include <cstdint>

union SDL_Event;

extern bool overlayToggleLatch;
// A quit input's release counts only when its press was seen here: the press that ended
// the wait at the ready banner must not quit the game when it is let go.
extern bool quitKeyPressSeen[2];   // Escape, Clear
extern bool quitButtonPressSeen;

void resetInputState();
// Puts a key or joystick button event on SDL's queue, as a player's press would arrive (the
// tools and tests that drive the game). The key symbol goes in as the plain number it is.
void pushKeyEvent(int sym, bool down);
void pushButtonEvent(int button, bool down);
// Where pollInput takes its events from: SDL's queue unless a replay hands back recorded ones
// (or a recording keeps what it took). False when there are no more this frame.
using EventSource = bool (*)(SDL_Event& event);
void setEventSource(EventSource source);   // null: SDL's queue
// Key and joystick-button presses and releases: the events a run's outcome depends on.
bool isInputEvent(uint8_t type);
// Drains the event queue, carries out the immediate actions and steers the player's car.
// Returns true when the player asked to quit.
bool pollInput();
