#include "track/track.h"
#include "state/game.h"
#include <cstdlib>

int scrollY = 0;
int diagScroll = 0;
int diagFirstTile = 0;
TrackMarker trackMarkers[MARKER_SLOTS];

void resetTrackState()
{
    scrollY = 0;
    scrollStartY = 0;
    diagScroll = diagFirstTile = 0;
    resetMarkers();
}

void visitTrackState(StateVisitor& v)
{
    v(GROUP_SCROLL, scrollY), v(GROUP_SCROLL, diagScroll), v(GROUP_SCROLL, diagFirstTile);
    for (TrackMarker& m : trackMarkers)
        v(GROUP_MARKERS, m.tileIndex), v(GROUP_MARKERS, m.code), v(GROUP_MARKERS, m.done),
            v(GROUP_MARKERS, m.active);
    v.require(scrollY >= 0 && scrollY <= (scrollStartY > 0 ? scrollStartY : 0), "the scroll");
    for (const TrackMarker& m : trackMarkers)
        v.require(m.tileIndex >= -1 && m.tileIndex < levelTileCount &&
                      (m.code == -1 || isMarkerCode(m.code)),
                  "a marker");
}

void advanceScroll(int delta)
{
    int s = scrollY + delta;
    if (s < 0)
        s = scrollStartY; // past the top of the track: round again from the bottom
    scrollY = s;
}

int scanStart(int lookBack)
{
    int first = scrollY / 5 - lookBack;
    return first < 0 ? 0 : first;
}

bool isRoadCode(int code)
{
    int m = std::abs(code);
    return m == 2 || m == 11 || m == 12 || m == 97 || m == 99;
}

bool isDarkCode(int code)
{
    int m = std::abs(code);
    return m == 10 || m == 11 || m == 18;
}

bool isMarkerCode(int code)
{
    return code >= CODE_CHECKPOINT && code <= CODE_ROAD_NARROWS;
}

int tilePictureFor(int code)
{
    if (code >= 1 && code <= 18)
        return code;
    if (isMarkerCode(code))
        return 2; // markers lie on plain road
    return 0;
}

void registerMarker(TrackMarker& slot, int tileIndex, int code)
{
    for (const TrackMarker& m : trackMarkers)
        if (m.tileIndex == tileIndex && m.code == code)
            return;
    slot.tileIndex = tileIndex;
    slot.code = code;
    slot.active = true;
}

void offerMarker(int tileIndex, int code)
{
    for (TrackMarker& slot : trackMarkers)
        if (!slot.active) {
            registerMarker(slot, tileIndex, code);
            return;
        }
}

void resetMarkers()
{
    for (TrackMarker& slot : trackMarkers)
        slot = TrackMarker();
}

namespace
{
// The tiles from the view's first row down to its bottom edge, in order.
template <typename Visit> void visitTilesInView(const TileList& tiles, int first, Visit visit)
{
    const int count = static_cast<int>(tiles.size());
    for (int k = first; k < count; ++k) {
        const Tile& tile = tiles[k];
        const int d = tile.y - scrollY;
        if (d > SCREEN_HEIGHT)
            break;
        if (d < -TILE_HEIGHT)
            continue;
        visit(k, tile, d);
    }
}
} // namespace

void stepTrack(const TileList& tiles, int delta, TileDrawer draw)
{
    advanceScroll(delta);
    const int first = scanStart(6);
    diagScroll = scrollY;
    diagFirstTile = first;
    visitTilesInView(tiles, first, [draw](int k, const Tile& tile, int d) {
        if (isMarkerCode(tile.code))
            offerMarker(k, tile.code);
        if (draw && tilePictureFor(tile.code) != 0)
            draw(tile, d);
    });
}

void forEachTileInView(const TileList& tiles, TileDrawer draw)
{
    visitTilesInView(tiles, scanStart(6), [draw](int, const Tile& tile, int d) {
        if (tilePictureFor(tile.code) != 0)
            draw(tile, d);
    });
}
