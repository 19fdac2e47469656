#pragma once
#include "track/level.h"

// Result of terrainUnder for a moving player grinding along a road edge.
constexpr int SKID_CODE = 99;

// What lies under the probe point (x + 3, rowY). `under` is left alone when no tile matches;
// the result is -1 then.
int terrainUnder(const TileList& tiles, int x, int rowY, bool forTraffic, bool recordProbe,
                 int& under);
bool roadSplitsAhead(const TileList& tiles, int start);
int laneEdge(const TileList& tiles, int rowY, bool wantLeft, bool lookahead);
struct RoadEdges {
    int left = -1;
    int right = -1;
    bool split = false;
};
RoadEdges roadEdges(const TileList& tiles, int rowY);
