#pragma once
#include "platform/state_visitor.h"
#include "track/level.h"

// Result of terrainUnder for a moving player grinding along a road edge.
constexpr int SKID_CODE = 99;

// What lies under the probe point (x + 3, rowY). `under` is left alone when no tile matches;
// the result is -1 then.
int terrainUnder(const TileList& tiles, int x, int rowY, bool forTraffic, bool recordProbe,
                 int& under);
bool roadSplitsAhead(const TileList& tiles, int start);
// The road's right edge where tile i ends a stretch of road (the tile before it is road, it
// is not), or -1.
int rightEdgeAt(const TileList& tiles, int i);
// How far the second carriageway lies right of the first, when the road splits ahead.
constexpr int SECOND_CARRIAGEWAY = 160;
int laneEdge(const TileList& tiles, int rowY, bool wantLeft, bool lookahead);
struct RoadEdges {
    int left = -1;
    int right = -1;
    bool split = false;
};
RoadEdges roadEdges(const TileList& tiles, int rowY);

// What the road queries and the cars leave behind for the diagnostics overlay; the player's
// terrain also steers the skid and gravel sounds.
struct RoadReadings {
    int playerTerrain = 0;
    int diagTileRow = 0;
    int diagTrafficSpeed = 0;
    int probeX = 0;
    int probeY = 0;
    int diagLeftEdge = 0;
    int diagRightEdge = 0;
};
extern RoadReadings roadReadings;
void resetRoadReadings();
void visitRoadReadings(StateVisitor& v);
