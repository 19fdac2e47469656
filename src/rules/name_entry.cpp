#include "rules/name_entry.h"
#include "platform/clock.h"
#include "platform/gamepad.h"
#include "platform/keys.h"
#include "platform/signals.h"
#include "present/render.h"
#include "rules/input.h"
#include "rules/scoring.h"
#include "rules/view_step.h"
#include "save/score_table.h"
#include "state/game.h"
#include "track/course.h"
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{
// What Up and Down step through (a blank is typed with Backspace, never stepped onto).
const char* const CHARACTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.";
constexpr uint32_t IDLE_MS = 30000;

void turn(InitialsEntry& e, int by)
{
    const int n = static_cast<int>(std::strlen(CHARACTERS));
    const char* at = std::strchr(CHARACTERS, e.letters[e.cursor]);
    // From a blank, Up starts at A and Down at the last character.
    const int i = at ? static_cast<int>(at - CHARACTERS) : by > 0 ? -1 : 0;
    e.letters[e.cursor] = CHARACTERS[((i + by) % n + n) % n];
}

void move(InitialsEntry& e, int by)
{
    e.cursor = std::max(0, std::min(2, e.cursor + by));
}

} // namespace

void drawInitialsEntry(const InitialsEntry& e, int place, int score, bool cursorShown,
                       int secondsLeft)
{
    drawInitialsScreen(game, e.letters.c_str(), e.cursor, place, score, cursorShown, secondsLeft);
}

void entryKey(InitialsEntry& e, int sym)
{
    if (sym >= 'a' && sym <= 'z')
        sym -= 'a' - 'A';
    if ((sym >= 'A' && sym <= 'Z') || (sym >= '0' && sym <= '9')) {
        e.letters[e.cursor] = static_cast<char>(sym);
        move(e, 1);
    } else if (sym == KEY_BACKSPACE) {
        if (e.letters[e.cursor] == ' ' && e.cursor > 0)
            move(e, -1);
        e.letters[e.cursor] = ' ';
    } else if (sym == KEY_UP || sym == KEY_DOWN) {
        turn(e, sym == KEY_UP ? 1 : -1);
    } else if (sym == KEY_RIGHT || sym == KEY_LEFT) {
        move(e, sym == KEY_RIGHT ? 1 : -1);
    } else if (sym == KEY_RETURN) {
        e.done = true;
    }
}

void entryButton(InitialsEntry& e, int button)
{
    if (button == BUTTON_UP || button == BUTTON_DOWN)
        turn(e, button == BUTTON_UP ? 1 : -1);
    else if (button == BUTTON_RIGHT || button == BUTTON_ACCELERATE)
        move(e, 1);
    else if (button == BUTTON_LEFT)
        move(e, -1);
    else if (button == BUTTON_START)
        e.done = true;
}

bool offerFinishedRun(int stateBefore)
{
    const Course* course = chosenCourse();
    if (stateBefore != STATE_TIME_UP || game.gameState != STATE_ATTRACT || !course)
        return true;
    const bool goOn = offerTableEntry(course->name, game.score); // attract still shows the score
    // The HI readout, the BEST line and the table's first place show one score.
    raiseHighScoreToTable();
    return goOn;
}

void refreshTable()
{
    const Course* course = chosenCourse();
    if (!course || !tablePageNext())
        return;
    reloadScoreTables();
    raiseHighScoreToTable();
}

bool offerTableEntry(const std::string& course, int score)
{
    const int place = placeFor(course, score);
    if (place < 0)
        return true;
    InitialsEntry entry;
    bool quit = false;
    uint32_t lastPress = rawTicks();
    int shown = 0;
    while (!entry.done && !quit && rawTicks() - lastPress < IDLE_MS) {
        pollGamepad();
        SDL_Event event;
        while (!entry.done && takeQueuedEvent(event, false)) {
            if (event.type == SDL_KEYDOWN) {
                const int sym = static_cast<int>(keySymbolOf(event));
                quit = quit || isQuitKey(sym);
                entryKey(entry, sym);
                lastPress = rawTicks();
            } else if (event.type == SDL_JOYBUTTONDOWN) {
                quit = quit || event.jbutton.button == BUTTON_QUIT;
                entryButton(entry, event.jbutton.button);
                lastPress = rawTicks();
            } else {
                // A key or button let go here was held in the run: the next run must not
                // find it still held. The window's close button is ignored, as everywhere.
                takeRelease(event);
            }
        }
        quit = quit || quitSignalled();
        const uint32_t idle = rawTicks() - lastPress;
        const int secondsLeft = idle >= IDLE_MS ? 0 : int((IDLE_MS - idle + 999) / 1000);
        drawInitialsEntry(entry, place, score, ++shown % 40 < 26, secondsLeft);
        delayMs(19);
    }
    enterRun(course, score, entry.letters);
    return !quit;
}
