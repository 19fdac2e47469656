#pragma once
#include "platform/state_visitor.h"
#include "present/render.h"
#include "sim/car.h"
#include "track/level.h"

// The blinking of the score readout and of the messages, and attract's pages.
struct Blinks {
    bool scoreBlinkOn = true;
    int scoreBlinkCounter = 0;
    bool messageBlinkOn = true;
    int messageBlinkCounter = 0;
    int attractFrames = 0; // frames since attract began: its pages take turns
};
extern Blinks blinks;
// What the step chose for this frame to show; the drawing reads it.
extern FramePicture framePicture;

void resetViewState();
void visitViewState(StateVisitor& v);
// The view's step of a frame, after the rules': the view scrolls by the player's speed (the
// markers coming into view registered), the cars' animation and crash spin move on, the
// marker pass applies checkpoints and counts the signs, the blinking, the "CHECKPOINT"
// message and the volume bar age. It decides what the frame shows (framePicture); drawFrame
// then draws just that. Returns the seconds the checkpoints passed have earned.
int advanceView(const TileList& tiles);
// A car's step: its sprite for this frame chosen and its animation (or crash spin) moved on.
// `dark` is true for the traffic car while the player's headlights are on.
void stepCar(Car& car, bool dark);
// The next attract frame begins the page of the chosen course's table.
bool tablePageNext();
// What the drawing reads of the game as it is now.
GameView currentView();
