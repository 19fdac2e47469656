#pragma once
#include <string>

// The initials a run that enters its course's table of best runs is entered with, arcade
// style: three places, the one at the cursor changed a character at a time or typed.
struct InitialsEntry {
    std::string letters = "A  ";
    int cursor = 0;
    bool done = false;
};

// A key (its symbol): a letter or digit is typed at the cursor, which moves on; Backspace
// takes the last one back; Up and Down step the letter at the cursor (Up from A to B), Right moves
// on and Left back; Return enters them.
void entryKey(InitialsEntry& entry, int sym);
// A game pad's button, as the game numbers them: up and down change the letter, right or A
// move on, left goes back, Start enters them.
void entryButton(InitialsEntry& entry, int button);

// The entry over the frame on the screen, beside the panel's readouts: the place and score, the
// letters (the one at the cursor blinking), how to enter them and the seconds left to do it.
void drawInitialsEntry(const InitialsEntry& entry, int place, int score, bool cursorShown,
                       int secondsLeft);

// A run's score offered to its course's table: when it enters, asks for the initials (until
// they are entered, or 30 s pass without a press) and enters them. False when the player
// asked to quit meanwhile (what was there is entered first).
bool offerTableEntry(const std::string& course, int score);
// After a frame that began in `stateBefore`: a run that has just ended (its car at a stop, the
// game back in attract) is offered to the chosen course's table.
bool offerFinishedRun(int stateBefore);
// Between frames in attract: before the table's page shows, the tables are read again (another
// copy may have entered a run), and the HI readout is never below the chosen course's best.
void refreshTable();
