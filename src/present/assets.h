#pragma once
#include "sim/car.h"
#include <string>

struct SDL_Surface;
struct Mix_Chunk;
typedef struct _TTF_Font TTF_Font;

constexpr int TILE_PICTURES = 18;

extern SDL_Surface* trackTileImages[TILE_PICTURES + 1]; // index = picture number, 0 unused
extern SDL_Surface* panelImage;
extern SDL_Surface* panelMaskImage;
// The two above as one picture, drawn in one copy (made as the assets load).
extern SDL_Surface* panelFaceImage;
// The ghost of a run raced: the player's car, see-through (made as the assets load).
extern SDL_Surface* ghostCarImage;
extern SDL_Surface* warnFunnelImage;
extern SDL_Surface* warnOpenImage;
extern Mix_Chunk* coinSound;
extern Mix_Chunk* idleEngineSound;
extern TTF_Font* smallFont;
extern TTF_Font* mediumFont;
extern TTF_Font* ledFont;

// Reads a bitmap, converts it to the screen's format and keys out magenta. A missing or
// unreadable picture gives null and one line on the error output naming the file.
SDL_Surface* loadPicture(const std::string& path);
// Converts a surface read from disk to the screen's format; keyed unless `keyed` is false.
SDL_Surface* convertPicture(SDL_Surface* raw, bool keyed);
Mix_Chunk* loadSample(const std::string& path);
void openFonts(int smallSize);
void closeFonts();
// Loads every picture, sample and font-free asset of the game; `progress`, when given, is called
// between groups of files so that a loading screen can move.
bool loadAssets(void (*progress)() = nullptr);
bool loadCarAssets(Car& car, const std::string& pathA, const std::string& pathB,
                   SDL_Surface* screen);
// Forgets every loaded asset (tests reload them from a staged folder).
void forgetAssets();
