#include "present/render.h"
#include "platform/window.h"
#include "present/assets.h"
#include "present/text.h"
#include "save/score_table.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "sim/road.h"
#include "state/game.h"
#include "track/course.h"
#include "track/track.h"
#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void (*beforeFlip)() = nullptr;

namespace
{
constexpr int RED[3] = {255, 0, 0};
constexpr int LED_X = 274;
constexpr int HIGH_SCORE_Y = 56;
constexpr int SCORE_Y = 98;
constexpr int TIME_Y = 140;
// Where a warning sign shows, at the top of the road.
constexpr int SIGN_X = 147;
constexpr int SIGN_Y = 20;

bool fitsSint16(long v)
{
    return v >= INT16_MIN && v <= INT16_MAX;
}

// The panel readouts are drawn twice, a pixel apart, to thicken the digits.
void drawReadout(int value, int y)
{
    drawLedNumber(screen, value, LED_X, y, RED[0], RED[1], RED[2]);
    drawLedNumber(screen, value, LED_X - 1, y, RED[0], RED[1], RED[2]);
}

// The side panel with its three readouts (high score, score, time left), whatever blinks.
void drawPanelReadouts(const GameVariables& game)
{
    if (!screen)
        return;
    drawPicture(panelFaceImage, PANEL_X, 0);
    drawReadout(game.highScore, HIGH_SCORE_Y);
    drawReadout(game.score, SCORE_Y);
    drawReadout(game.timeLeft, TIME_Y);
}

void drawTileAt(const Tile& tile, int screenY)
{
    drawPicture(trackTileImages[tilePictureFor(tile.code)], tile.x, screenY);
}

void drawDiagnostics(const GameView& v, float fpsEstimate, const int c[3])
{
    const RoadReadings& roadReadings = v.road;
    // Shown as a whole number, and only a number an int can hold.
    const float fps =
        std::isfinite(fpsEstimate) && std::fabs(fpsEstimate) < 1e9f ? fpsEstimate : 0.0f;
    const int rows[][2] = {{0, static_cast<int>(fps)},       {30, roadReadings.playerTerrain},
                           {40, v.game.distanceMark},        {50, 0},
                           {80, roadReadings.diagTileRow},   {90, roadReadings.diagTrafficSpeed},
                           {110, v.track.diagFirstTile},     {120, v.track.diagScroll},
                           {130, roadReadings.probeX},       {140, roadReadings.probeY},
                           {150, roadReadings.diagLeftEdge}, {160, roadReadings.diagRightEdge}};
    for (const auto& row : rows)
        drawSmallNumber(screen, row[1], 10, row[0], c[0], c[1], c[2]);
    drawSmallText(screen, VERSION_TEXT, 10, 100, c[0], c[1], c[2]);
    drawSmallText(screen, "*X*", roadReadings.probeX, roadReadings.probeY, 255, 255, 255);
}

} // namespace

namespace
{
// A copy of a picture with nothing see-through in the screen's own format, row by row. SDL's
// copy of such a picture writes past the cache (the road's tiles went to memory and came back
// for the screen's digest); this one shows the same pixels at a third of the cost.
bool copyOpaque(SDL_Surface* src, SDL_Surface* dest, SDL_Rect from, int destX, int destY)
{
    const SDL_PixelFormat* f = src->format;
    if ((src->flags & (SDL_SRCCOLORKEY | SDL_SRCALPHA)) || f->BytesPerPixel != 2 ||
        dest->format->BytesPerPixel != 2 || f->Rmask != dest->format->Rmask ||
        f->Gmask != dest->format->Gmask || f->Bmask != dest->format->Bmask)
        return false;
    // The part of the source that lies inside the picture and lands inside the clip.
    const SDL_Rect clip = dest->clip_rect;
    int sx = from.x, sy = from.y, dx = destX, dy = destY, w = from.w, h = from.h;
    if (sx < 0)
        w += sx, dx -= sx, sx = 0;
    if (sy < 0)
        h += sy, dy -= sy, sy = 0;
    w = std::min(w, src->w - sx), h = std::min(h, src->h - sy);
    if (dx < clip.x)
        w -= clip.x - dx, sx += clip.x - dx, dx = clip.x;
    if (dy < clip.y)
        h -= clip.y - dy, sy += clip.y - dy, dy = clip.y;
    w = std::min(w, clip.x + clip.w - dx), h = std::min(h, clip.y + clip.h - dy);
    if (w <= 0 || h <= 0)
        return true;
    SDL_LockSurface(src);
    SDL_LockSurface(dest);
    for (int row = 0; row < h; ++row)
        std::memcpy(static_cast<Uint8*>(dest->pixels) + (dy + row) * dest->pitch + dx * 2,
                    static_cast<const Uint8*>(src->pixels) + (sy + row) * src->pitch + sx * 2,
                    size_t(w) * 2);
    SDL_UnlockSurface(dest);
    SDL_UnlockSurface(src);
    return true;
}
} // namespace

void blitRegion(SDL_Surface* src, SDL_Surface* dest, int srcX, int srcY, int destX, int destY,
                int width, int height)
{
    if (!src || !dest)
        return;
    // A position SDL's 16-bit rectangles cannot hold would wrap onto the screen: skip it.
    if (!fitsSint16(srcX) || !fitsSint16(srcY) || !fitsSint16(destX) || !fitsSint16(destY) ||
        width < 0 || height < 0 || width > UINT16_MAX || height > UINT16_MAX)
        return;
    SDL_Rect from = {static_cast<Sint16>(srcX), static_cast<Sint16>(srcY),
                     static_cast<Uint16>(width), static_cast<Uint16>(height)};
    if (copyOpaque(src, dest, from, destX, destY))
        return;
    SDL_Rect to = {static_cast<Sint16>(destX), static_cast<Sint16>(destY), 0, 0};
    SDL_UpperBlit(src, &from, dest, &to);
}

void drawPicture(SDL_Surface* picture, int x, int y)
{
    if (picture)
        blitRegion(picture, screen, 0, 0, x, y, picture->w, picture->h);
}

bool drawTrack(const TileList& tiles)
{
    if (!screen)
        return true;
    // A course with cells that have no picture (or rows short of tiles) shows black there,
    // never what the frame before left.
    if (courseHasGaps) {
        SDL_Rect field = {0, 0, PANEL_X, SCREEN_HEIGHT};
        SDL_FillRect(screen, &field, SDL_MapRGB(screen->format, 0, 0, 0));
    }
    forEachTileInView(tiles, drawTileAt);
    return true;
}

void drawHeadlight(const Car& car, SDL_Surface* dest)
{
    if (car.headlightImage)
        blitRegion(car.headlightImage, dest, 0, 0, car.x - 88, car.screenY - 138,
                   car.headlightImage->w, car.headlightImage->h);
}

bool drawCar(const Car& car, const CarPicture& p, SDL_Surface* dest)
{
    if (!car.frameA || !car.frameB)
        return false;
    blitRegion(p.first, dest, 0, 0, car.x, p.y, p.w, p.h);
    blitRegion(p.second, dest, 0, 0, car.x, p.y, p.w, p.h);
    if (car.kind == CAR_PLAYER && car.headlightsOn)
        drawHeadlight(car, dest);
    return true;
}

namespace
{

void drawShadowed(const char* text, int x, int y, const int ink[3], bool medium = false)
{
    auto draw = medium ? drawMediumText : drawSmallText;
    draw(screen, text, x + 1, y + 1, 0, 0, 0);
    draw(screen, text, x, y, ink[0], ink[1], ink[2]);
}

void drawTablePage(const std::string& course)
{
    static const int INK[3] = {255, 255, 255}, GOLD[3] = {255, 220, 0};
    // Between "GAME OVER" above and the coin's box below, touching neither.
    SDL_Rect box = {14, 74, 240, 120};
    SDL_FillRect(screen, &box, SDL_MapRGB(screen->format, 0, 0, 40));
    drawShadowed("BEST RUNS", 94, 75, GOLD);
    const auto list = tableOf(course);
    if (!list.empty())
        drawShadowed("1-9, 0: watch", 186, 75, INK);
    if (list.empty())
        drawShadowed("no runs yet: be the first", 56, 128, INK);
    for (size_t i = 0; i < list.size(); ++i) { // in columns: the font's letters differ in width
        const int y = 89 + 10 * static_cast<int>(i);
        const int* ink = i == 0 ? GOLD : INK;
        char field[24];
        std::snprintf(field, sizeof field, "%zu", i + 1);
        drawShadowed(field, 28, y, ink);
        drawShadowed(list[i].initials.c_str(), 48, y, ink);
        if (isImported(list[i]))
            drawShadowed("*", 76, y, ink); // a friend's run, taken in
        std::snprintf(field, sizeof field, "%d", list[i].score);
        drawShadowed(field, 96, y, ink);
        drawShadowed(list[i].date.c_str(), 172, y, ink);
    }
}
} // namespace

void drawSettingsScreen(const SettingsPicture& p)
{
    if (!screen)
        return;
    static const int INK[3] = {255, 255, 255}, GOLD[3] = {255, 220, 0}, GREY[3] = {170, 170, 190};
    SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 16, 16, 24));
    SDL_Rect frame = {2, 2, SCREEN_WIDTH - 4, SCREEN_HEIGHT - 4};
    SDL_FillRect(screen, &frame, SDL_MapRGB(screen->format, 90, 90, 100));
    frame = {3, 3, SCREEN_WIDTH - 6, SCREEN_HEIGHT - 6};
    SDL_FillRect(screen, &frame, SDL_MapRGB(screen->format, 0, 0, 40));
    drawShadowed("SETTINGS", 118, 4, GOLD, true);
    // Two columns: the settings on the left (the way back to the defaults last), on the right the
    // keys, or the pad's buttons while the cursor is among them.
    const bool padShown = size_t(p.cursor) >= p.padFrom && size_t(p.cursor) < p.resetLine;
    drawShadowed(padShown ? "the pad's buttons" : "keys (the pad's below)", 158, 22, GREY);
    for (size_t i = 0; i < p.lines.size(); ++i) {
        const bool pad = i >= p.padFrom && i < p.resetLine;
        const bool key = !pad && i >= p.keysFrom && i < p.resetLine;
        if ((pad && !padShown) || (key && padShown))
            continue;
        const int row = pad                ? int(i - p.padFrom)
                        : key              ? int(i - p.keysFrom)
                        : i == p.resetLine ? 8
                                           : int(i);
        const int x = key || pad ? 158 : 10, y = 36 + 15 * row;
        const bool at = int(i) == p.cursor;
        const int* ink = at ? GOLD : INK;
        if (at)
            drawShadowed(">", x - 7, y, GOLD);
        drawShadowed(p.lines[i].label.c_str(), x, y, key || pad ? (at ? GOLD : GREY) : ink);
        const std::string value = at && p.awaitingKey ? "?" : p.lines[i].value;
        drawShadowed(value.c_str(), x + (key || pad ? 86 : 88), y, ink);
        if (const int level = p.lines[i].bar; level >= 0) {
            SDL_Rect bar = {static_cast<Sint16>(x + 110), static_cast<Sint16>(y + 4), 28, 6};
            SDL_FillRect(screen, &bar, SDL_MapRGB(screen->format, 60, 60, 80));
            bar.w = static_cast<Uint16>(28 * level / 128);
            SDL_FillRect(screen, &bar, SDL_MapRGB(screen->format, 255, 0, 0));
        }
    }
    if (!p.message.empty())
        drawShadowed(p.message.c_str(), 10, 196, GOLD);
    drawShadowed("up/down choose, left/right change, Return: a new key", 10, 210, GREY);
    drawShadowed(p.closing.c_str(), 10, 222, GREY);
    presentScreen();
}

void drawInitialsScreen(const GameVariables& game, const char* letters, int cursor, int place,
                        int score, bool cursorShown, int secondsLeft)
{
    if (!screen)
        return;
    drawPanelReadouts(game); // the run's score stays in sight while its initials are asked for
    SDL_Rect box = {24, 60, 220, 124};
    SDL_FillRect(screen, &box, SDL_MapRGB(screen->format, 0, 0, 40));
    char line[64];
    std::snprintf(line, sizeof line, "PLACE %d ON THE TABLE: %d", place + 1, score);
    drawSmallText(screen, line, 40, 66, 255, 220, 0);
    drawMediumText(screen, "YOUR INITIALS", 72, 84, 255, 255, 255);
    for (int i = 0; i < 3 && letters[i]; ++i) {
        const char letter[2] = {letters[i] == ' ' ? '_' : letters[i], 0};
        if (i != cursor || cursorShown)
            drawMediumText(screen, letter, 110 + 20 * i, 112, 255, i == cursor ? 220 : 255,
                           i == cursor ? 0 : 255);
    }
    drawSmallText(screen, "type them, or up/down and right", 40, 140, 200, 200, 200);
    drawSmallText(screen, "Return or Start enters them", 52, 154, 200, 200, 200);
    std::snprintf(line, sizeof line, "entered as they are in %d s", secondsLeft);
    drawSmallText(screen, line, 56, 168, 255, 220, 0);
    presentScreen();
}

namespace
{
// In attract: the chosen course, its best score, and by turns its table of best runs.
void drawCourseChoice(const GameView& v)
{
    static const int INK[3] = {255, 255, 0};
    const Course* course = chosenCourse();
    if (!course || !screen)
        return;
    char line[96];
    // The course by its name alone: where it stands in this player's list is no part of a
    // recorded run's screen, which must look the same on a machine with other courses.
    std::snprintf(line, sizeof line, "< %s%s >", course->name.c_str(),
                  course->faulty ? " (faulty)" : "");
    drawShadowed(line, 8, 4, INK);
    std::snprintf(line, sizeof line, "BEST %d", v.game.highScore);
    drawShadowed(line, 8, 18, INK);
    if (v.picture.ghost.attractLine)
        drawShadowed(v.picture.ghost.attractLine, 8, 32, INK);
    // Beside the coin's box: how the settings open, on the keyboard and on a pad.
    drawShadowed("SETTINGS:", 6, 208, INK);
    drawShadowed("S or Guide", 6, 220, INK);
    if (v.picture.tablePageShown)
        drawTablePage(course->name);
}
} // namespace

namespace
{
// The ghost's car, under the others and in the play field only.
void drawGhostCar(const GhostPicture& ghost)
{
    if (!ghost.carShown || !ghostCarImage || !screen)
        return;
    SDL_Rect field = {0, 0, PANEL_X, SCREEN_HEIGHT};
    SDL_SetClipRect(screen, &field);
    SDL_Rect at = {static_cast<Sint16>(ghost.x), static_cast<Sint16>(ghost.y), 0, 0};
    SDL_BlitSurface(ghostCarImage, nullptr, screen, &at);
    SDL_SetClipRect(screen, nullptr);
}

// How far the ghost is when out of sight, at the field's edge, and the split: green ahead, red
// behind. The game's own texts are drawn after, over them.
void drawGhostTexts(const GhostPicture& ghost)
{
    static const int AHEAD[3] = {80, 255, 80}, BEHIND[3] = {255, 90, 60}, PALE[3] = {170, 220, 255};
    char line[32];
    if (ghost.markerMetres != 0) {
        std::snprintf(line, sizeof line, "%s GHOST %d m", ghost.markerMetres > 0 ? "^" : "v",
                      std::abs(ghost.markerMetres));
        const int x = std::max(2, std::min(ghost.x, PANEL_X - 92));
        drawShadowed(line, x, ghost.markerMetres > 0 ? 2 : SCREEN_HEIGHT - 14, PALE);
    }
    if (ghost.split[0])
        drawShadowed(ghost.split, 124, 68, ghost.splitAhead ? AHEAD : BEHIND, true);
}
} // namespace

bool drawFrame(const TileList& tiles, const GameView& v, float fpsEstimate)
{
    const GameVariables& game = v.game;
    const FramePicture& picture = v.picture;
    static const int WHITE[3] = {255, 255, 255};
    const int* overlay = std::abs(v.road.playerTerrain) == CODE_DARK_ROAD ? WHITE : RED;

    drawTrack(tiles);
    drawGhostCar(picture.ghost);
    if (inRun(game))
        drawCar(v.player, picture.cars[0], screen);
    drawCar(v.traffic, picture.cars[1], screen);
    drawGhostTexts(picture.ghost);
    drawPicture(panelFaceImage, PANEL_X, 0);

    if (inRun(game)) {
        if (picture.scoreShown)
            drawReadout(game.score, SCORE_Y);
        drawReadout(game.highScore, HIGH_SCORE_Y);
        for (int i = 0; i < v.markers.signsShownCount; ++i)
            drawPicture(v.markers.signsShown[i] == CODE_ROAD_OPENS ? warnOpenImage
                                                                   : warnFunnelImage,
                        SIGN_X, SIGN_Y);
        if (picture.timeShown)
            drawReadout(game.timeLeft, TIME_Y);
        if (picture.message)
            drawMediumText(screen, picture.message, 124, 50, 255, 0, 0);
    } else if (game.gameState == STATE_ATTRACT) {
        if (picture.attractTextShown) {
            drawMediumText(screen, "GAME OVER", 110, 50, 0, 255, 255);
            const int values[3][2] = {
                {game.highScore, HIGH_SCORE_Y}, {game.score, SCORE_Y}, {game.timeLeft, TIME_Y}};
            for (int pass = 0; pass < 2; ++pass)
                for (const auto& v : values)
                    drawLedNumber(screen, v[0], LED_X - pass, v[1], 255, 0, 0);
        }
        // Red on a dark box: the road below may be red too (a kerb).
        SDL_Rect coinBox = {98, 198, 126, 38};
        SDL_FillRect(screen, &coinBox, SDL_MapRGB(screen->format, 90, 90, 100));
        coinBox = {99, 199, 124, 36};
        SDL_FillRect(screen, &coinBox, SDL_MapRGB(screen->format, 16, 16, 24));
        drawMediumText(screen, "DEPOSIT COIN", 103, 200, 255, 0, 0);
        drawSmallText(screen, "(enter/home)", 126, 218, 255, 0, 0);
        drawCourseChoice(v);
    }

    if (game.showDiagnostics)
        drawDiagnostics(v, fpsEstimate, overlay);
    if (picture.volumeBarShown)
        drawMediumText(screen, volumeBar(game.masterVolume), 10, 215, overlay[0], overlay[1],
                       overlay[2]);
    if (beforeFlip)
        beforeFlip();
    presentScreen();
    return true;
}
