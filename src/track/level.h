#pragma once
#include "state/game.h"
#include <SDL.h>
#include <string>
#include <vector>

constexpr int TILE_WIDTH = 40;
constexpr int TILE_HEIGHT = 40;
constexpr int TRACK_WIDTH = TILES_PER_ROW * TILE_WIDTH;

// One 40x40 cell of the road, placed by the course file: where it lies on the course and its
// code (its picture is the shared one for the code).
struct Tile {
    int x = 0;
    int y = 0;
    int code = 0;

    Tile() = default;
    Tile(int x_, int y_, int code_) : x(x_), y(y_), code(code_) {}
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
// Fills tiles from the level file, read once: the list takes as many tiles as the file holds,
// and the tile count, the scroll's start and the gaps follow. False (the list as it was) when
// it cannot be opened. `progress`, when given, is called now and then so that a loading
// screen can move.
bool loadLevel(TileList& tiles, int level, void (*progress)() = nullptr);
// The same for a course file named by its path: its rows up to the first empty line.
bool loadCourseFile(TileList& tiles, const std::string& path, void (*progress)() = nullptr);

// A course file as its reader sees it: the codes of each row up to the first empty line, and
// the lines after it (where the course's name is). False when it cannot be opened.
struct CourseText {
    std::vector<std::vector<int>> rows;
    std::vector<std::string> after;
    std::vector<int> wordRows; // rows holding something other than codes (a letter, a word)
};
bool readCourseText(const std::string& path, CourseText& text, void (*progress)() = nullptr);
// The tiles of a course read as text, and with them the tile count, the scroll's start and
// whether it has gaps.
void buildTiles(const CourseText& text, TileList& tiles);
