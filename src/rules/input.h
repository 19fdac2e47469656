#pragma once
#include <cstdint>
#include <vector>

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
// Where readInput takes its events from: SDL's queue unless a replay hands back recorded ones
// (or a recording keeps what it took). False when there are no more this frame.
using EventSource = bool (*)(SDL_Event& event);
void setEventSource(EventSource source); // null: SDL's queue, through takeQueuedEvent
// The next event of SDL's queue as the game takes it; false when the queue is empty.
// With `ownKeys` false, keys come as they are (initials being typed, the settings screen).
bool takeQueuedEvent(SDL_Event& event, bool ownKeys = true);
// A key event as the player's keys have it: a key given to an action becomes that action's first
// key; false for a first key its action no longer has (the event is then dropped).
bool translateKey(SDL_Event& event);
// A key or button let go while something else took the events (the initials): the game's held
// flag for it is cleared, as readInput would have.
void takeRelease(const SDL_Event& event);
// Escape and Clear: the keys that quit.
bool isQuitKey(int sym);
// The quit a signal asked for, as a recording keeps it (SDL never queues this type): a replay
// hands it back in the frame the run ended in.
constexpr uint8_t QUIT_REQUEST_EVENT = 24; // SDL_USEREVENT
// Key and joystick-button presses and releases, and the quit a signal asked for: the events a
// run's outcome depends on.
bool isInputEvent(uint8_t type);
// A press that acts once, as the player asked for it in a frame.
enum InputAction : uint8_t {
    ACTION_START_PAUSE, // Return, P, Start (and a lost window in a run)
    ACTION_COURSE_BACK, // Left: the course before, in attract
    ACTION_COURSE_ON,   // Right: the course after, in attract
    ACTION_FULL_SCREEN, // F11
    ACTION_GHOST,       // G, a pad's X: the ghost on or off, in attract
    ACTION_WATCH,       // 1 to 9 and 0: watch that place's run, on attract's table page
    ACTION_SETTINGS,    // S, a pad's Guide: the settings screen, in attract
};
// What a frame's input asks of the game: the presses in the order they came, the quit, the
// volume keys held, and the overlay's switch (once a press). The held keys and buttons are in
// inputLatches. The states act on it; reading it acts on nothing.
struct FrameCommands {
    std::vector<InputAction> actions;
    int watchPlace = 0; // the place (1 to 10) the last ACTION_WATCH asks for
    bool quit = false;
    bool volumeUp = false, volumeDown = false;
    bool overlayToggle = false;
};
// Drains the event queue into the frame's commands and the held keys and buttons.
void readInput(FrameCommands& commands);
