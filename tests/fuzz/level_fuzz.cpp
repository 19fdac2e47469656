// Any bytes as the course file: counted and read without a crash, a hang or a tile outside
// the table; checked, and named, as a player's own course is.
#include "fresh_folder.h"
#include "sim/course_check.h"
#include "state/game.h"
#include "track/course.h"
#include "track/level.h"
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    enterFreshFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen("_resources/01.lvl", "wb");
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    game.levelTileCount = countLevelTiles(1);
    TileList tiles(static_cast<size_t>(game.levelTileCount));
    if (!loadLevel(tiles, 1) || static_cast<int>(tiles.size()) > game.levelTileCount)
        std::abort();
    for (size_t k = 0; k < tiles.size(); ++k)
        if (tiles[k].x != static_cast<int>(k % 8) * TILE_WIDTH)
            std::abort(); // every tile in its column
    CourseText text;
    if (!readCourseText("_resources/01.lvl", text))
        std::abort();
    for (const CourseFault& f : checkCourse(text))
        if (f.row < 0 || f.row > static_cast<int>(text.rows.size()) || f.column < 0 ||
            f.column > static_cast<int>(TILES_PER_ROW) || f.what.empty())
            std::abort();
    const std::string name = courseNameOf("_resources/01.lvl");
    if (name.empty() || name.size() > 24)
        std::abort();
    for (char c : name)
        if (c < 32 || c > 126)
            std::abort();
    return 0;
}
