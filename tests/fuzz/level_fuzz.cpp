// Any bytes as the course file: counted and read without a crash, a hang or a tile outside
// the table.
#include "fresh_folder.h"
#include "state/game.h"
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
    return 0;
}
