#pragma once
#include "platform/state_visitor.h"
#include "sim/car.h"
#include "track/level.h"

struct SDL_Surface;

// The blinking of the score readout and of the messages.
struct Blinks {
    bool scoreBlinkOn = true;
    int scoreBlinkCounter = 0;
    bool messageBlinkOn = true;
    int messageBlinkCounter = 0;
    int attractFrames = 0; // frames since attract began: its pages take turns
};
extern Blinks blinks;

// Drawn last, just before the screen is shown (a replay's label); usually none.
extern void (*beforeFlip)();

void resetRenderState();
void visitRenderState(StateVisitor& v);
// The steps of a frame that its drawing used to take: the view scrolls by the player's speed
// (the markers coming into view registered), the cars' animation and crash spin move on, the
// marker pass applies checkpoints and counts the signs, the blinking, the "CHECKPOINT"
// message and the volume bar age. It decides what the frame shows; drawFrame then draws just
// that and changes nothing of the game. Returns the seconds the checkpoints passed have earned.
int advanceView(const TileList& tiles);
// A car's step: its sprite for this frame chosen and its animation (or crash spin) moved on.
// `dark` is true for the traffic car while the player's headlights are on.
void stepCar(Car& car, bool dark);
bool drawFrame(const TileList& tiles, float fpsEstimate);
// The next attract frame begins the page of the chosen course's table.
bool tablePageNext();
// The side panel with its three readouts (high score, score, time left), whatever blinks.
void drawPanelReadouts();
// In attract: the chosen course, its best score, and by turns its table of best runs.
void drawCourseChoice();
bool drawTrack(const TileList& tiles);
// Draws the sprite the car's last step chose (and the player's headlights).
bool drawCar(const Car& car, SDL_Surface* dest);
void drawHeadlight(const Car& car, SDL_Surface* dest);
void blitRegion(SDL_Surface* src, SDL_Surface* dest, int srcX, int srcY, int destX, int destY,
                int width, int height);
// Draws a whole picture on the screen; a picture that never loaded draws nothing.
void drawPicture(SDL_Surface* picture, int x, int y);
void scoreBlinkStep();
void messageBlinkStep();
