#include "sim/course_check.h"
#include "sim/car.h"
#include "sim/player.h"
#include "sim/road.h"
#include "track/track.h"
#include <algorithm>

namespace
{
constexpr int PANEL_LEFT = PANEL_X;
constexpr int WRAP_ROWS = 6;  // a screen's height: shown at both ends of a lap
constexpr int SIGN_ROWS = 10; // how far before a narrowing or opening its sign may stand

// A cell the road runs through: road, or a marker lying on it.
bool onRoad(int code)
{
    return isRoadCode(code) || isMarkerCode(code);
}

// The road's leftmost and rightmost columns in a row, or {-1, -1}.
std::pair<int, int> span(const std::vector<int>& row)
{
    int left = -1, right = -1;
    for (int c = 0; c < static_cast<int>(row.size()); ++c)
        if (onRoad(row[c])) {
            left = left < 0 ? c : left;
            right = c;
        }
    return {left, right};
}

// Where a crash slide in this row may take the car, asked of the game's own road queries: to
// the right of the first stretch of road (or of the second carriageway, when the road splits
// ahead), or short of the right edge of the screen. The car's right side.
int slideRightSide(const TileList& tiles, int row)
{
    const int first = row * TILES_PER_ROW;
    for (int i = first; i < first + TILES_PER_ROW; ++i) {
        int edge = rightEdgeAt(tiles, i);
        if (edge < 0)
            continue;
        if (roadSplitsAhead(tiles, i + 1))
            edge += SECOND_CARRIAGEWAY;
        return crashSlideTarget(edge) + CAR_WIDTH;
    }
    return 0;
}
} // namespace

std::vector<CourseFault> checkCourse(const CourseText& text)
{
    std::vector<CourseFault> faults;
    const auto& rows = text.rows;
    const int n = static_cast<int>(rows.size());
    auto fault = [&](int row, int column, std::string what) {
        faults.push_back({row, column, std::move(what)});
    };
    bool wellFormed = true;
    for (int r = 0; r < n; ++r) {
        const auto& row = rows[r];
        if (std::find(text.wordRows.begin(), text.wordRows.end(), r) != text.wordRows.end()) {
            fault(r + 1, 0, "the row is not tile codes (two digits a tile, commas between)");
            wellFormed = false;
            continue;
        }
        if (row.size() != TILES_PER_ROW) {
            fault(r + 1, 0, "the row has " + std::to_string(row.size()) + " tiles, not 8");
            wellFormed = false;
            continue;
        }
        for (int c = 0; c < TILES_PER_ROW; ++c)
            if (tilePictureFor(row[c]) == 0)
                fault(r + 1, c + 1, "unknown tile code " + std::to_string(row[c]));
        if (span(row).first < 0)
            fault(r + 1, 0, "no road in the row");
        // The seventh column is half in view: a car on it still shows. The eighth is not.
        for (int c = 0; c < TILES_PER_ROW; ++c)
            if (onRoad(row[c]) && c * TILE_WIDTH >= PANEL_LEFT) {
                fault(r + 1, c + 1, "road under the side panel (it covers x 269 to 319)");
                break;
            }
    }
    if (n < 2 * WRAP_ROWS) {
        fault(0, 0, "the course has " + std::to_string(n) + " rows; it needs at least 12");
        return faults;
    }
    if (!wellFormed)
        return faults; // the rest reads the course as a grid

    TileList tiles;
    tiles.reserve(size_t(n) * TILES_PER_ROW);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < TILES_PER_ROW; ++c)
            tiles.emplace_back(c * TILE_WIDTH, r * TILE_HEIGHT, rows[r][c]);
    for (int r = 0; r < n; ++r)
        if (span(rows[r]).first >= 0 && slideRightSide(tiles, r) > PANEL_LEFT)
            fault(r + 1, 0, "a crash here slides the car under the side panel");

    // Driving order: the car starts at the bottom row and drives up.
    for (int r = n - 2; r >= 0; --r) {
        const auto below = span(rows[r + 1]), here = span(rows[r]);
        if (below.first < 0 || here.first < 0)
            continue;
        if (here.first > below.second || here.second < below.first) {
            fault(r + 1, here.first + 1, "the road jumps sideways further than a car can follow");
            continue;
        }
        const int widthBefore = below.second - below.first, width = here.second - here.first;
        // One change a row: narrower, wider, or (the same width moved over) a bend.
        const bool narrows = width < widthBefore;
        const bool opens = width > widthBefore;
        for (int kind : {CODE_ROAD_NARROWS, CODE_ROAD_OPENS}) {
            if (kind == CODE_ROAD_NARROWS ? !narrows : !opens)
                continue;
            bool signed_ = false;
            for (int k = r + 1; k <= std::min(n - 1, r + SIGN_ROWS) && !signed_; ++k)
                signed_ = std::find(rows[k].begin(), rows[k].end(), kind) != rows[k].end();
            if (!signed_)
                fault(r + 1, 0,
                      std::string("the road ") +
                          (kind == CODE_ROAD_NARROWS ? "narrows here with no sign 99"
                                                     : "opens here with no sign 98") +
                          " in the 10 rows before");
        }
    }

    for (int i = 0; i < WRAP_ROWS; ++i)
        if (rows[i] != rows[n - WRAP_ROWS + i]) {
            fault(i + 1, 0,
                  "the course does not wrap without a seam: its first six rows must equal its "
                  "last six (row " +
                      std::to_string(n - WRAP_ROWS + i + 1) + ")");
            break;
        }

    // Checkpoints, as rows driven from the start; a lap is the course less the rows shown at
    // both ends.
    std::vector<int> at; // file rows, in driving order
    for (int r = n - 1; r >= 0; --r)
        if (std::find(rows[r].begin(), rows[r].end(), CODE_CHECKPOINT) != rows[r].end())
            at.push_back(r);
    const int lap = n - WRAP_ROWS;
    const double perSecond = FULL_SPEED_ROWS_PER_SECOND;
    if (at.empty()) {
        fault(0, 0, "no checkpoint: every run ends after 60 seconds");
    } else {
        auto driven = [&](int r) { return n - 1 - r; };
        if (driven(at[0]) > RUN_SECONDS * perSecond)
            fault(at[0] + 1, 0, "the first checkpoint is too far to reach in 60 seconds");
        for (size_t k = 0; k < at.size(); ++k) {
            const int from = driven(at[k]);
            const int to = k + 1 < at.size() ? driven(at[k + 1]) : driven(at[0]) + lap;
            if (to - from > CHECKPOINT_SECONDS * perSecond)
                fault(at[(k + 1) % at.size()] + 1, 0,
                      "this checkpoint is too far from the one before to reach in 30 seconds");
        }
    }
    std::stable_sort(faults.begin(), faults.end(),
                     [](const CourseFault& a, const CourseFault& b) { return a.row < b.row; });
    return faults;
}

std::string describeFault(const CourseFault& f)
{
    if (f.row == 0)
        return f.what;
    return "row " + std::to_string(f.row) +
           (f.column > 0 ? ", column " + std::to_string(f.column) : "") + ": " + f.what;
}
