#pragma once
#include "sim/car.h"
#include "track/level.h"
#include <string>
#include <vector>

struct SDL_Surface;
struct GameVariables;
struct TrackView;
struct MarkerCounters;
struct RoadReadings;

// What a frame shows, as the view's step chose it: a car's sprite (or a crash spin's two
// views) and where, and which texts show in this phase of their blinking.
struct CarPicture {
    SDL_Surface* first = nullptr;  // the sprite, or a crash spin's first view
    SDL_Surface* second = nullptr; // a crash spin's second view
    int y = 0, w = 0, h = 0;
};
// The ghost of a run raced: its car where it is in the play field, or a marker at the field's
// top or bottom edge saying how far it is, and the split at the last checkpoint (or the score's
// difference once the run is over).
struct GhostPicture {
    bool carShown = false;
    int x = 0, y = 0;
    int markerMetres = 0; // ahead (above the field) when positive, behind when negative
    char split[24] = {};  // "" shows none
    bool splitAhead = false;
    const char* attractLine = nullptr; // whether a ghost is raced, on attract's screen
};
struct FramePicture {
    CarPicture cars[2]; // by car kind
    bool scoreShown = true, timeShown = true, attractTextShown = false, volumeBarShown = false;
    bool tablePageShown = false;   // attract shows the chosen course's table
    const char* message = nullptr; // "PAUSED" or "CHECKPOINT"
    GhostPicture ghost;
};

// Everything the drawing reads of the game, and only to read it: the compiler holds the
// drawing to drawing.
struct GameView {
    const GameVariables& game;
    const Car& player;
    const Car& traffic;
    const TrackView& track;
    const MarkerCounters& markers;
    const RoadReadings& road;
    const FramePicture& picture;
};

// Drawn last, just before the screen is shown (a replay's label); usually none.
extern void (*beforeFlip)();

// The frame as the view shows it: road, cars, panel and readouts, signs, messages, attract's
// texts and table, overlay, volume bar; then the screen is shown.
bool drawFrame(const TileList& tiles, const GameView& view, float fpsEstimate);
// The initials a run enters its table with, over the frame beside the panel's readouts: the
// place and score, the three letters (the one at the cursor blinking), how to enter them and
// the seconds left to do it; then the screen is shown.
void drawInitialsScreen(const GameVariables& game, const char* letters, int cursor, int place,
                        int score, bool cursorShown, int secondsLeft);
// The settings screen: each line's name and value, the one at the cursor marked, the two
// volumes as bars, and a word for the player (a key refused, a new key awaited).
struct SettingsPicture {
    struct Line {
        std::string label, value;
        int bar = -1; // a volume's line: its level (0..128), drawn as a bar beside the number
    };
    std::vector<Line> lines; // the general settings first, then `keysFrom` on the keys
    size_t keysFrom = 0, padFrom = 0, resetLine = 0; // the pad's lines show in the keys' place

    int cursor = 0;
    bool awaitingKey = false;
    std::string message;
    std::string closing; // how the screen is closed, with the keys in force
};
void drawSettingsScreen(const SettingsPicture& picture);
bool drawTrack(const TileList& tiles);
// Draws the sprite the car's step chose (and the player's headlights).
bool drawCar(const Car& car, const CarPicture& picture, SDL_Surface* dest);
void drawHeadlight(const Car& car, SDL_Surface* dest);
void blitRegion(SDL_Surface* src, SDL_Surface* dest, int srcX, int srcY, int destX, int destY,
                int width, int height);
// Draws a whole picture on the screen; a picture that never loaded draws nothing.
void drawPicture(SDL_Surface* picture, int x, int y);
