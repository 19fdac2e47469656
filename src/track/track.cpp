#include "track/track.h"
#include "state/game.h"
#include <cstdlib>

TrackView trackView;

void resetTrackState()
{
    trackView = TrackView();
    scrollStartY = 0;
}

void visitTrackState(StateVisitor& v)
{
    v(GROUP_SCROLL, trackView.scrollY), v(GROUP_SCROLL, trackView.diagScroll),
        v(GROUP_SCROLL, trackView.diagFirstTile);
    for (TrackMarker& m : trackView.trackMarkers)
        v(GROUP_MARKERS, m.tileIndex), v(GROUP_MARKERS, m.code), v(GROUP_MARKERS, m.done),
            v(GROUP_MARKERS, m.active);
    const int scrollEnd = scrollStartY > 0 ? scrollStartY : 0;
    v.require(trackView.scrollY >= 0 && trackView.scrollY <= scrollEnd &&
                  trackView.diagScroll >= 0 && trackView.diagScroll <= scrollEnd &&
                  trackView.diagFirstTile >= 0 && trackView.diagFirstTile <= scrollEnd / 5,
              "the scroll");
    for (const TrackMarker& m : trackView.trackMarkers)
        v.require(m.tileIndex >= -1 && m.tileIndex < game.levelTileCount &&
                      (m.code == -1 || isMarkerCode(m.code)),
                  "a marker");
}

void advanceScroll(int delta)
{
    int s = trackView.scrollY + delta;
    if (s < 0)
        s = scrollStartY; // past the top of the track: round again from the bottom
    trackView.scrollY = s;
}

int scanStart(int lookBack)
{
    int first = trackView.scrollY / 5 - lookBack;
    return first < 0 ? 0 : first;
}

bool isRoadCode(int code)
{
    int m = std::abs(code);
    return m == CODE_ROAD || m == CODE_DARK_ROAD || m == CODE_GRAVEL || m == CODE_CHECKPOINT ||
           m == CODE_ROAD_NARROWS;
}

bool isDarkCode(int code)
{
    int m = std::abs(code);
    return m == CODE_TUNNEL_WALL || m == CODE_DARK_ROAD || m == CODE_NIGHT_VERGE;
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
        return CODE_ROAD; // markers lie on plain road
    return 0;
}

void registerMarker(TrackMarker& slot, int tileIndex, int code)
{
    for (const TrackMarker& m : trackView.trackMarkers)
        if (m.tileIndex == tileIndex && m.code == code)
            return;
    slot.tileIndex = tileIndex;
    slot.code = code;
    slot.active = true;
}

void offerMarker(int tileIndex, int code)
{
    for (TrackMarker& slot : trackView.trackMarkers)
        if (!slot.active) {
            registerMarker(slot, tileIndex, code);
            return;
        }
}

void resetMarkers()
{
    for (TrackMarker& slot : trackView.trackMarkers)
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
        const int d = tile.y - trackView.scrollY;
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
    trackView.diagScroll = trackView.scrollY;
    trackView.diagFirstTile = first;
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
