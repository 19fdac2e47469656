#include "sim/road.h"
#include "sim/car.h"
#include "state/game.h"
#include "track/track.h"
#include <cstdlib>

RoadReadings roadReadings;

void resetRoadReadings()
{
    roadReadings = RoadReadings();
}

void visitRoadReadings(StateVisitor& v)
{
    auto& r = roadReadings;
    v(GROUP_NONE, r.playerTerrain), v(GROUP_NONE, r.diagTileRow), v(GROUP_NONE, r.diagTrafficSpeed);
    v(GROUP_NONE, r.probeX), v(GROUP_NONE, r.probeY), v(GROUP_NONE, r.diagLeftEdge);
    v(GROUP_NONE, r.diagRightEdge);
    // Terrain codes are two digits with a sign; the rest are screen positions, speeds and rows
    // within a few screens of the road.
    auto within = [](int value, int limit) { return value >= -limit && value <= limit; };
    v.require(within(r.playerTerrain, 99) && within(r.diagTileRow, 2000) &&
                  within(r.diagTrafficSpeed, 2000) && within(r.probeX, 2100) &&
                  within(r.probeY, 2100) && within(r.diagLeftEdge, 2000) &&
                  within(r.diagRightEdge, 2000),
              "the road readings");
}

namespace
{

// The entry before i in list order; the first tile stands in for its own predecessor.
int predecessor(int i)
{
    return i > 0 ? i - 1 : 0;
}

bool roadAt(const TileList& tiles, int i)
{
    return i >= 0 && i < static_cast<int>(tiles.size()) && isRoadCode(tiles[i].code);
}

// Calls visit(i, screenTop) for every tile of the probe row inside the query window, left to
// right; visit returns false to end the scan. Tiles are stored row by row, so the scan ends
// at the first tile below the window: the answers are the same, and a long course costs no
// more per frame than a short one.
template <typename Visit> void scanRow(const TileList& tiles, int rowY, Visit visit)
{
    const int count = static_cast<int>(tiles.size());
    for (int i = scanStart(18); i < count; ++i) {
        const Tile& t = tiles[i];
        const int d = t.y - trackView.scrollY;
        if (d > 280)
            return;
        if (d < -80)
            continue;
        const int top = t.y - std::abs(trackView.scrollY);
        if (top <= rowY && rowY <= top + TILE_HEIGHT && !visit(i, top))
            return;
    }
}

// A split road puts the edge on the second carriageway for a player on the right half, or,
// outside a run, on a coin toss.
bool shiftToSecondCarriageway()
{
    if (game.gameState == STATE_PLAYING)
        return playerCar.x > 120;
    return (std::rand() & 1) != 0;
}

} // namespace

int terrainUnder(const TileList& tiles, int x, int rowY, bool forTraffic, bool recordProbe,
                 int& under)
{
    const int px = x + 3;
    const int count = static_cast<int>(tiles.size());
    int result = -1;
    bool skid = false;
    scanRow(tiles, rowY, [&](int i, int top) {
        const Tile& t = tiles[i];
        roadReadings.diagTileRow = top;
        const bool matched = t.x < px && px <= t.x + TILE_WIDTH;
        if (!matched)
            return true;
        result = t.code;
        under = result;
        if (recordProbe && game.showDiagnostics) {
            roadReadings.probeX = px;
            roadReadings.probeY = rowY;
        }
        const bool moving = playerCar.speed != 0;
        if (isRoadCode(t.code) && px >= t.x + 15) {
            // Far enough into the tile that the car's body is over its right neighbour.
            if (i + 1 >= count) {
                result = -1; // nothing to the right of the last tile: off the road
                under = -1;
                return true;
            }
            const Tile& right = tiles[i + 1];
            result = right.code;
            under = result;
            if (!forTraffic && moving && roadAt(tiles, i - 1) && !isRoadCode(right.code) &&
                right.x <= x + 33 && x + 33 <= right.x + 20) {
                skid = true;
                return false;
            }
        }
        if (!forTraffic && !isRoadCode(t.code) && moving && t.x + 25 <= px &&
            px <= t.x + TILE_WIDTH && roadAt(tiles, i + 1)) {
            skid = true;
            return false;
        }
        return true;
    });
    return skid ? SKID_CODE : result;
}

int rightEdgeAt(const TileList& tiles, int i)
{
    const int before = predecessor(i);
    return !isRoadCode(tiles[i].code) && isRoadCode(tiles[before].code)
               ? tiles[before].x + 10 // rightmost x where a car still sits on that road
               : -1;
}

bool roadSplitsAhead(const TileList& tiles, int start)
{
    const int last = static_cast<int>(tiles.size()) - 1;
    bool seenRoad = false, seenGap = false;
    for (int i = start; i <= start + 5 && i <= last; ++i) {
        if (i < 0)
            continue;
        const bool road = isRoadCode(tiles[i].code);
        if (!seenRoad) {
            seenRoad = road;
        } else if (!seenGap) {
            seenGap = !road;
        } else if (road) {
            return true;
        }
    }
    return false;
}

int laneEdge(const TileList& tiles, int rowY, bool wantLeft, bool lookahead)
{
    roadReadings.playerTerrain = 0;
    int edge = -1;
    bool split = false;
    scanRow(tiles, rowY, [&](int i, int) {
        split = roadSplitsAhead(tiles, i);
        if (wantLeft) {
            if (isRoadCode(tiles[i].code)) {
                edge = tiles[i].x;
                return false;
            }
            return true;
        }
        const int right = rightEdgeAt(tiles, i);
        if (right >= 0) {
            edge = right;
            if (lookahead)
                split = roadSplitsAhead(tiles, i + 1);
            return false;
        }
        return true;
    });
    if (split && shiftToSecondCarriageway())
        edge += SECOND_CARRIAGEWAY;
    return edge;
}

RoadEdges roadEdges(const TileList& tiles, int rowY)
{
    roadReadings.playerTerrain = 0;
    RoadEdges e;
    scanRow(tiles, rowY, [&](int i, int) {
        if (e.left == -1)
            e.split = roadSplitsAhead(tiles, i);
        const bool road = isRoadCode(tiles[i].code);
        if (road && e.left == -1)
            e.left = tiles[i].x;
        if (e.left != -1 && !road) {
            const int j = predecessor(i);
            if (isRoadCode(tiles[j].code) && e.right == -1)
                e.right = tiles[j].x + 10;
        }
        return !(e.left != -1 && e.right != -1);
    });
    if (e.split && shiftToSecondCarriageway()) {
        e.left += 160;
        e.right += 160;
    }
    return e;
}
