#pragma once
#include "state/game.h"
#include <SDL.h>
#include <string>
#include <vector>

constexpr int TILE_WIDTH = 40;
constexpr int TILE_HEIGHT = 40;
constexpr int TRACK_WIDTH = TILES_PER_ROW * TILE_WIDTH;

// One 40x40 cell of the road, placed by the level file.
struct Tile {
    int x = 0;
    int y = 0;
    SDL_Surface* image = nullptr; // level cells are drawn from the shared tile pictures
    SDL_Rect bounds = {0, 0, 0, 0};
    int code = 0;

    Tile() = default;
    Tile(int x, int y, int code);
    void release() { image = nullptr; }
};

using TileList = std::vector<Tile>;

extern int scrollStartY;
// The course loaded last has cells that draw nothing: codes without a picture, rows short of
// tiles, or fewer rows than a screen shows.
extern bool courseHasGaps;

std::string levelFilePath(int level);
int countLevelLines(int level);
int countLevelTiles(int level);
int parseTileCode(const std::string& token);
// Fills tiles (sized by countLevelTiles) from the level file. False when it cannot be opened.
// `progress`, when given, is called now and then so that a loading screen can move.
bool loadLevel(TileList& tiles, int level, void (*progress)() = nullptr);
// The same for a course file named by its path: its rows up to the first empty line.
int countCourseLines(const std::string& path);
int countCourseTiles(const std::string& path);
bool loadCourseFile(TileList& tiles, const std::string& path, void (*progress)() = nullptr);

// A course file as its reader sees it: the codes of each row up to the first empty line, and
// the lines after it (where the course's name is). False when it cannot be opened.
struct CourseText {
    std::vector<std::vector<int>> rows;
    std::vector<std::string> after;
    std::vector<int> wordRows; // rows holding something other than codes (a letter, a word)
};
bool readCourseText(const std::string& path, CourseText& text);
