#include "rules/input.h"
#include "platform/gamepad.h"
#include "platform/keys.h"
#include "platform/signals.h"
#include "platform/window.h"
#include "save/preferences.h"
#include "state/game.h"
#include <SDL.h>

InputLatches inputLatches;

namespace
{

EventSource eventSource = nullptr;

// The key symbol, or -1 when it lies outside the key table.
int keyIndexOf(const SDL_Event& event)
{
    const long symbol = keySymbolOf(event);
    return symbol >= 0 && symbol < KEY_SLOTS ? static_cast<int>(symbol) : -1;
}

bool& pressSeenFor(int sym)
{
    return inputLatches.quitKeyPressSeen[sym == KEY_ESCAPE ? 0 : 1];
}

void keyDown(int sym, FrameCommands& c)
{
    if (sym < 0)
        return;
    if (isQuitKey(sym)) {
        pressSeenFor(sym) = true;
        c.quit = true;
        return;
    }
    inputLatches.keyHeld[sym] = true;
    if (sym == KEY_RETURN || sym == KEY_P)
        c.actions.push_back(ACTION_START_PAUSE);
    else if (sym == KEY_LEFT || sym == KEY_RIGHT)
        c.actions.push_back(sym == KEY_LEFT ? ACTION_COURSE_BACK : ACTION_COURSE_ON);
    else if (sym == KEY_F11)
        c.actions.push_back(ACTION_FULL_SCREEN);
    else if (sym == KEY_G)
        c.actions.push_back(ACTION_GHOST);
    else if (sym == KEY_S)
        c.actions.push_back(ACTION_SETTINGS);
    else if (sym >= '0' && sym <= '9')
        c.actions.push_back(ACTION_WATCH), c.watchPlace = sym == '0' ? 10 : sym - '0';
}

void keyUp(int sym, bool& quit)
{
    if (sym < 0)
        return;
    if (isQuitKey(sym)) {
        if (pressSeenFor(sym))
            quit = true;
        pressSeenFor(sym) = false;
        return;
    }
    inputLatches.keyHeld[sym] = false;
}

void buttonDown(int button, FrameCommands& c)
{
    if (button < 0 || button >= BUTTON_SLOTS)
        return;
    if (button == BUTTON_QUIT) {
        inputLatches.quitButtonPressSeen = true;
        c.quit = true;
        return;
    }
    inputLatches.buttonHeld[button] = true;
    if (button == BUTTON_START)
        c.actions.push_back(ACTION_START_PAUSE);
    else if (button == BUTTON_LEFT || button == BUTTON_RIGHT)
        c.actions.push_back(button == BUTTON_LEFT ? ACTION_COURSE_BACK : ACTION_COURSE_ON);
    else if (button == BUTTON_GHOST)
        c.actions.push_back(ACTION_GHOST);
    else if (button == BUTTON_SETTINGS)
        c.actions.push_back(ACTION_SETTINGS);
}

void buttonUp(int button, bool& quit)
{
    if (button < 0 || button >= BUTTON_SLOTS)
        return;
    if (button == BUTTON_QUIT) {
        if (inputLatches.quitButtonPressSeen)
            quit = true;
        inputLatches.quitButtonPressSeen = false;
        return;
    }
    inputLatches.buttonHeld[button] = false;
}

} // namespace

void takeRelease(const SDL_Event& event)
{
    bool quit = false;
    if (event.type == SDL_KEYUP && !isQuitKey(keyIndexOf(event)))
        keyUp(keyIndexOf(event), quit);
    else if (event.type == SDL_JOYBUTTONUP && event.jbutton.button != BUTTON_QUIT)
        buttonUp(event.jbutton.button, quit);
}

void pushKeyEvent(int sym, bool down)
{
    SDL_Event e = {};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    setKeySymbol(e, sym);
    SDL_PushEvent(&e);
}

bool isQuitKey(int sym)
{
    return sym == KEY_ESCAPE || sym == KEY_CLEAR;
}

void pushButtonEvent(int button, bool down)
{
    SDL_Event e = {};
    e.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    e.jbutton.button = static_cast<Uint8>(button);
    SDL_PushEvent(&e);
}

void resetInputState()
{
    inputLatches = InputLatches();
    eventSource = nullptr;
}

void visitInputState(StateVisitor& v)
{
    v(GROUP_STATE, inputLatches.overlayToggleLatch),
        v(GROUP_STATE, inputLatches.quitButtonPressSeen);
    v(GROUP_STATE, inputLatches.quitKeyPressSeen), v(GROUP_STATE, inputLatches.keyHeld),
        v(GROUP_STATE, inputLatches.buttonHeld);
}

bool translateKey(SDL_Event& event)
{
    const long sym = keySymbolOf(event);
    for (int a = 0; a < KEY_ACTIONS; ++a) {
        if (preferences.keys[a] == sym) {
            setKeySymbol(event, DEFAULT_KEYS[a]);
            return true;
        }
    }
    for (int a = 0; a < KEY_ACTIONS; ++a)
        if (DEFAULT_KEYS[a] == sym)
            return false; // its action has another key now
    return true;
}

bool takeQueuedEvent(SDL_Event& event, bool ownKeys)
{
    // A game controller's own button numbers are not the game's: its presses arrive as the
    // game's buttons, made by pollGamepad.
    do {
        if (!SDL_PollEvent(&event))
            return false;
    } while ((event.type == SDL_JOYBUTTONDOWN || event.type == SDL_JOYBUTTONUP) &&
             event.jbutton.which != GAMEPAD_WHICH && gamepadActive());
    // A key of the player's own stands for its action's first key: the game, and a recording,
    // see only those. A first key given away to another is no longer its action's.
    if (ownKeys && (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) && !translateKey(event))
        return takeQueuedEvent(event);
    // Losing the window (another window chosen, or this one minimised) pauses a run as a
    // start press would: it is taken as one, so a recording keeps it as one.
    const bool lost = event.type == SDL_ACTIVEEVENT && !event.active.gain &&
                      (event.active.state & (SDL_APPINPUTFOCUS | SDL_APPACTIVE));
    if (lost && game.gameState == STATE_PLAYING) {
        event = SDL_Event();
        event.type = SDL_KEYDOWN;
        setKeySymbol(event, KEY_P);
        pushKeyEvent(KEY_P, false); // and let go, after whatever is queued
    }
    return true;
}

void setEventSource(EventSource source)
{
    eventSource = source;
}

bool isInputEvent(uint8_t type)
{
    return type == SDL_KEYDOWN || type == SDL_KEYUP || type == SDL_JOYBUTTONDOWN ||
           type == SDL_JOYBUTTONUP || type == QUIT_REQUEST_EVENT;
}

void readInput(FrameCommands& c)
{
    c.actions.clear();
    c.quit = false;
    SDL_JoystickUpdate();
    pollGamepad();
    SDL_Event event;
    while (eventSource ? eventSource(event) : takeQueuedEvent(event)) {
        bool quit = false;
        switch (event.type) {
        case SDL_KEYDOWN:
            keyDown(keyIndexOf(event), c);
            break;
        case SDL_KEYUP:
            keyUp(keyIndexOf(event), quit);
            break;
        case SDL_JOYBUTTONDOWN:
            buttonDown(event.jbutton.button, c);
            break;
        case SDL_JOYBUTTONUP:
            buttonUp(event.jbutton.button, quit);
            break;
        case QUIT_REQUEST_EVENT:
            quit = true;
            break;
        default:
            break; // mouse, axes, window activity and the close request are ignored
        }
        c.quit = c.quit || quit;
    }
    // Ctrl+C, kill or a closing terminal: the same quit as Escape.
    if (quitSignalled())
        c.quit = true;
    c.volumeUp = inputLatches.buttonHeld[BUTTON_VOLUME_UP] || inputLatches.keyHeld[KEY_Q];
    c.volumeDown = inputLatches.buttonHeld[BUTTON_VOLUME_DOWN] || inputLatches.keyHeld[KEY_W];
    c.overlayToggle = false;
    if (inputLatches.keyHeld[KEY_F] || inputLatches.buttonHeld[BUTTON_OVERLAY]) {
        c.overlayToggle = !inputLatches.overlayToggleLatch;
        inputLatches.overlayToggleLatch = true;
    } else {
        inputLatches.overlayToggleLatch = false;
    }
}
