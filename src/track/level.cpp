#include "track/level.h"
#include "state/game.h"
#include "track/track.h"
#include <algorithm>
#include <cctype>
#include <cstdio>

int scrollStartY = 0;
bool courseHasGaps = false;

std::string levelFilePath(int level)
{
    std::string number = std::to_string(level);
    if (level <= 9)
        number = "0" + number;
    return "_resources/" + number + ".lvl";
}

namespace
{

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
    CourseText text;
    return readCourseText(levelFilePath(level), text) ? static_cast<int>(text.rows.size()) : 0;
}

int countLevelTiles(int level)
{
    CourseText text;
    int count = 0;
    if (readCourseText(levelFilePath(level), text))
        for (const auto& row : text.rows)
            count += static_cast<int>(row.size());
    return count;
}

bool loadLevel(TileList& tiles, int level, void (*progress)())
{
    return loadCourseFile(tiles, levelFilePath(level), progress);
}

namespace
{
// The whole file, read in large blocks. False when it cannot be opened.
bool readWhole(const std::string& path, std::string& bytes)
{
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char buffer[1 << 16];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, n);
    std::fclose(file);
    return true;
}
} // namespace

bool readCourseText(const std::string& path, CourseText& text, void (*progress)())
{
    text = CourseText();
    std::string bytes;
    if (!readWhole(path, bytes))
        return false;
    bool body = true;
    int refresh = 0;
    std::string line;
    for (size_t at = 0; at < bytes.size();) {
        const size_t end = std::min(bytes.find('\n', at), bytes.size());
        line.assign(bytes, at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
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
                [&] {
                    // Keep the loading text moving through a long course.
                    if (progress && ++refresh == 250) {
                        progress();
                        refresh = 0;
                    }
                });
            if (words)
                text.wordRows.push_back(static_cast<int>(text.rows.size()) - 1);
        } else if (text.after.size() < 64) {
            text.after.push_back(line);
        }
    }
    return true;
}

void buildTiles(const CourseText& text, TileList& tiles)
{
    size_t count = 0;
    for (const auto& row : text.rows)
        count += row.size();
    tiles.clear();
    tiles.reserve(count);
    // Tiles are laid eight to a row in the order they come, whatever the lines they are on.
    int x = 0, y = 0;
    for (const auto& row : text.rows)
        for (int code : row) {
            tiles.emplace_back(x, y, code);
            x += TILE_WIDTH;
            if (x >= TRACK_WIDTH) {
                x = 0;
                y += TILE_HEIGHT;
            }
        }
    const int lines = static_cast<int>(text.rows.size());
    game.levelTileCount = static_cast<int>(tiles.size());
    scrollStartY = lines * TILE_HEIGHT - SCREEN_HEIGHT;
    // Cells that draw nothing: codes without a picture, rows short of tiles, or fewer rows
    // than a screen and a row show.
    courseHasGaps = tiles.size() != size_t(lines) * TILES_PER_ROW ||
                    lines * TILE_HEIGHT < SCREEN_HEIGHT + TILE_HEIGHT ||
                    std::any_of(tiles.begin(), tiles.end(),
                                [](const Tile& t) { return tilePictureFor(t.code) == 0; });
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
    if (progress)
        progress();
    CourseText text;
    if (!readCourseText(path, text, progress)) {
        scrollStartY = -SCREEN_HEIGHT; // as for a course of no rows; the game then ends
        return false;
    }
    buildTiles(text, tiles);
    return true;
}
