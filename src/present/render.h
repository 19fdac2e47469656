#pragma once
#include "platform/state_visitor.h"
#include "sim/car.h"
#include "track/level.h"

struct SDL_Surface;

constexpr int PANEL_X = 269;

extern bool messageBlinkOn;
extern int messageBlinkCounter;

// Drawn last, just before the screen is shown (a replay's label); usually none.
extern void (*beforeFlip)();

void resetRenderState();
void visitRenderState(StateVisitor& v);
bool drawFrame(const TileList& tiles, float fpsEstimate);
bool drawTrack(const TileList& tiles, int delta);
bool drawCar(Car& car, SDL_Surface* dest, bool dark);
void drawHeadlight(const Car& car, SDL_Surface* dest);
void blitRegion(SDL_Surface* src, SDL_Surface* dest, int srcX, int srcY, int destX, int destY,
                int width, int height);
// Draws a whole picture on the screen; a picture that never loaded draws nothing.
void drawPicture(SDL_Surface* picture, int x, int y);
void scoreBlinkStep();
void messageBlinkStep();
