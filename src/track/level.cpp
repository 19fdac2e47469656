#include "track/level.h"
#include "state/game.h"
#include "track/track.h"
#include <algorithm>
#include <cctype>
#include <cstdio>

int scrollStartY = 0;
bool courseHasGaps = false;

Tile::Tile(int x_, int y_, int code_) : x(x_), y(y_), code(code_)
{
    bounds.x = static_cast<Sint16>(x_);
    bounds.y = static_cast<Sint16>(y_);
    bounds.w = TILE_WIDTH;
    bounds.h = TILE_HEIGHT;
}

std::string levelFilePath(int level)
{
    std::string number = std::to_string(level);
    if (level <= 9)
        number = "0" + number;
    return "_resources/" + number + ".lvl";
}

namespace
{

// Reads one line of any length; a carriage return before the line feed is dropped.
bool readLine(std::FILE* file, std::string& line)
{
    line.clear();
    int c;
    bool any = false;
    while ((c = std::fgetc(file)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}

// Feeds every character of a line, plus the end mark, through the token grammar: commas are
// skipped, every two other characters make a token, a lone last character pairs with the end.
template <typename OnToken, typename OnChar>
void forEachToken(const std::string& line, OnToken onToken, OnChar onChar)
{
    std::string pending;
    for (size_t pos = 0; pos <= line.size(); ++pos) {
        onChar();
        char c = pos < line.size() ? line[pos] : '\0';
        if (c == ',')
            continue;
        pending.push_back(c);
        if (pending.size() == 2) {
            onToken(pending);
            pending.clear();
        }
    }
}

} // namespace

int countLevelLines(int level)
{
    return countCourseLines(levelFilePath(level));
}

int countLevelTiles(int level)
{
    return countCourseTiles(levelFilePath(level));
}

bool loadLevel(TileList& tiles, int level, void (*progress)())
{
    return loadCourseFile(tiles, levelFilePath(level), progress);
}

int countCourseLines(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    int count = 0;
    std::string line;
    while (readLine(file, line) && !line.empty())
        ++count;
    std::fclose(file);
    return count;
}

int countCourseTiles(const std::string& path)
{
    int lines = countCourseLines(path);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return 0;
    int count = 0;
    std::string line;
    for (int i = 0; i < lines && readLine(file, line); ++i)
        forEachToken(
            line, [&](const std::string&) { ++count; }, [] {});
    std::fclose(file);
    return count;
}

bool readCourseText(const std::string& path, CourseText& text)
{
    text = CourseText();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::string line;
    bool body = true;
    while (readLine(file, line)) {
        if (body && line.empty()) {
            body = false;
        } else if (body) {
            std::vector<int>& row = text.rows.emplace_back();
            bool words = false;
            forEachToken(
                line,
                [&](const std::string& token) {
                    row.push_back(parseTileCode(token));
                    for (char c : token)
                        words = words || std::isalpha(static_cast<unsigned char>(c));
                },
                [] {});
            if (words)
                text.wordRows.push_back(static_cast<int>(text.rows.size()) - 1);
        } else if (text.after.size() < 64) {
            text.after.push_back(line);
        }
    }
    std::fclose(file);
    return true;
}

int parseTileCode(const std::string& token)
{
    // Read like a formatted int: leading blanks, an optional sign, then digits.
    size_t i = 0;
    while (i < token.size() && std::isspace(static_cast<unsigned char>(token[i])))
        ++i;
    int sign = 1;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        sign = token[i] == '-' ? -1 : 1;
        ++i;
    }
    int value = 0;
    while (i < token.size() && std::isdigit(static_cast<unsigned char>(token[i])))
        value = value * 10 + (token[i++] - '0');
    return sign * value; // no digits at all: an empty cell, code 0
}

bool loadCourseFile(TileList& tiles, const std::string& path, void (*progress)())
{
    auto advance = [progress] {
        if (progress)
            progress();
    };
    const int lines = countCourseLines(path);
    advance();
    scrollStartY = lines * TILE_HEIGHT - SCREEN_HEIGHT;
    advance();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;

    int x = 0, y = 0;
    size_t stored = 0;
    int refresh = 0;
    std::string line;
    for (int i = 0; i < lines && readLine(file, line); ++i) {
        forEachToken(
            line,
            [&](const std::string& token) {
                if (stored < tiles.size())
                    tiles[stored++] = Tile(x, y, parseTileCode(token));
                x += TILE_WIDTH;
                if (x >= TRACK_WIDTH) {
                    x = 0;
                    y += TILE_HEIGHT;
                }
            },
            [&] {
                // Keep the loading text moving through a long level.
                if (++refresh == 250) {
                    advance();
                    refresh = 0;
                }
            });
    }
    std::fclose(file);

    // If the file changed or a read failed since it was counted, only the tiles really
    // built may be scanned or released.
    if (stored < tiles.size()) {
        tiles.resize(stored);
        game.levelTileCount = static_cast<int>(stored);
    }
    // Also a course shorter than the screen and a row: the view runs past its last row.
    courseHasGaps = tiles.size() != size_t(lines) * TILES_PER_ROW ||
                    lines * TILE_HEIGHT < SCREEN_HEIGHT + TILE_HEIGHT ||
                    std::any_of(tiles.begin(), tiles.end(),
                                [](const Tile& t) { return tilePictureFor(t.code) == 0; });
    return true;
}
