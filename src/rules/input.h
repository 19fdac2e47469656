#pragma once
#include <cstdint>

union SDL_Event;

#include "platform/keys.h"
#include "platform/state_visitor.h"

// The controls held, and the latches of the keys that act once a press.
struct InputLatches {
    // The keys and joystick buttons held down now, by key symbol and button number.
    bool keyHeld[KEY_SLOTS] = {};
    bool buttonHeld[BUTTON_SLOTS] = {};
    bool overlayToggleLatch = false;
    // A quit input's release counts only when its press was seen here: the press that ended
    // the wait at the ready banner must not quit the game when it is let go.
    bool quitKeyPressSeen[2] = {}; // Escape, Clear
    bool quitButtonPressSeen = false;
};
extern InputLatches inputLatches;

void resetInputState();
void visitInputState(StateVisitor& v);
// Puts a key or joystick button event on SDL's queue, as a player's press would arrive (the
// tools and tests that drive the game). The key symbol goes in as the plain number it is.
void pushKeyEvent(int sym, bool down);
void pushButtonEvent(int button, bool down);
// Where pollInput takes its events from: SDL's queue unless a replay hands back recorded ones
// (or a recording keeps what it took). False when there are no more this frame.
using EventSource = bool (*)(SDL_Event& event);
void setEventSource(EventSource source); // null: SDL's queue, through takeQueuedEvent
// The next event of SDL's queue as the game takes it; false when the queue is empty.
bool takeQueuedEvent(SDL_Event& event);
// A key or button let go while something else took the events (the initials): the game's held
// flag for it is cleared, as pollInput would have.
void takeRelease(const SDL_Event& event);
// Escape and Clear: the keys that quit.
bool isQuitKey(int sym);
// The quit a signal asked for, as a recording keeps it (SDL never queues this type): a replay
// hands it back in the frame the run ended in.
constexpr uint8_t QUIT_REQUEST_EVENT = 24; // SDL_USEREVENT
// Key and joystick-button presses and releases, and the quit a signal asked for: the events a
// run's outcome depends on.
bool isInputEvent(uint8_t type);
// Drains the event queue, carries out the immediate actions and steers the player's car.
// Returns true when the player asked to quit.
bool pollInput();
