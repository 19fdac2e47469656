#pragma once
#include "platform/state_visitor.h"
#include "track/level.h"

constexpr int MARKER_SLOTS = 100;
// Tile codes with a rule of their own (data/TILES.md lists them all).
constexpr int CODE_ROAD = 2;
constexpr int CODE_TUNNEL_WALL = 10; // dark, and the engine echoes
constexpr int CODE_DARK_ROAD = 11;   // road, dark, and the engine echoes
constexpr int CODE_GRAVEL = 12;      // road that slows a car
constexpr int CODE_NIGHT_VERGE = 18; // dark
constexpr int CODE_CHECKPOINT = 97;
constexpr int CODE_ROAD_OPENS = 98;
constexpr int CODE_ROAD_NARROWS = 99;

struct TrackMarker {
    int tileIndex = -1;
    int code = -1;
    bool done = false;
    bool active = false;
};

// The view on the course: its scroll and the markers that came into view.
struct TrackView {
    int scrollY = 0;
    // What the last scroll left for the diagnostics overlay: the scroll and the first tile
    // drawn.
    int diagScroll = 0;
    int diagFirstTile = 0;
    TrackMarker trackMarkers[MARKER_SLOTS];
};
extern TrackView trackView;

void resetTrackState();
void visitTrackState(StateVisitor& v);
void advanceScroll(int delta);
int scanStart(int lookBack);
bool isRoadCode(int code);
bool isDarkCode(int code);
bool isMarkerCode(int code);
// Tile picture number for a code (1..18), or 0 when the code draws nothing.
int tilePictureFor(int code);
void registerMarker(TrackMarker& slot, int tileIndex, int code);
void offerMarker(int tileIndex, int code);
void resetMarkers();

// The track step of a frame: scrolls by delta, then for every tile in the drawing window
// offers marker tiles to the table and hands the tile to draw (which may be null).
using TileDrawer = void (*)(const Tile& tile, int screenY);
void stepTrack(const TileList& tiles, int delta, TileDrawer draw);
// Hands every tile with a picture in the drawing window to draw; changes nothing.
void forEachTileInView(const TileList& tiles, TileDrawer draw);
