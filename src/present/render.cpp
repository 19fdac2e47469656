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

Blinks blinks;

void (*beforeFlip)() = nullptr;

namespace
{
constexpr int RED[3] = {255, 0, 0};
constexpr int ATTRACT_FRAMES_WRAP = 100000;
// Attract's pages: the road for the first seconds, then the chosen course's table of best
// runs and the road by turns.
constexpr int ROAD_PAGE_FRAMES = 420, TABLE_PAGE_FRAMES = 320;
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

void drawTileAt(const Tile& tile, int screenY)
{
    drawPicture(trackTileImages[tilePictureFor(tile.code)], tile.x, screenY);
}

void blinkStep(bool& on, int& counter, int bound)
{
    if (counter == 0)
        on = true;
    else if (counter == bound)
        on = false;
    counter += on ? 1 : -1;
}

void drawDiagnostics(float fpsEstimate, const int c[3])
{
    // Shown as a whole number, and only a number an int can hold.
    const float fps =
        std::isfinite(fpsEstimate) && std::fabs(fpsEstimate) < 1e9f ? fpsEstimate : 0.0f;
    const int rows[][2] = {{0, static_cast<int>(fps)},       {30, roadReadings.playerTerrain},
                           {40, game.distanceMark},          {50, 0},
                           {80, roadReadings.diagTileRow},   {90, roadReadings.diagTrafficSpeed},
                           {110, trackView.diagFirstTile},   {120, trackView.diagScroll},
                           {130, roadReadings.probeX},       {140, roadReadings.probeY},
                           {150, roadReadings.diagLeftEdge}, {160, roadReadings.diagRightEdge}};
    for (const auto& row : rows)
        drawSmallNumber(screen, row[1], 10, row[0], c[0], c[1], c[2]);
    drawSmallText(screen, VERSION_TEXT, 10, 100, c[0], c[1], c[2]);
    drawSmallText(screen, "*X*", roadReadings.probeX, roadReadings.probeY, 255, 255, 255);
}

bool inRun()
{
    return game.gameState == STATE_PLAYING || game.gameState == STATE_TIME_UP ||
           game.gameState == STATE_PAUSED;
}
} // namespace

void resetRenderState()
{
    blinks = Blinks();
}

void visitRenderState(StateVisitor& v)
{
    v(GROUP_NONE, blinks.scoreBlinkOn), v(GROUP_NONE, blinks.scoreBlinkCounter);
    v(GROUP_NONE, blinks.messageBlinkOn), v(GROUP_NONE, blinks.messageBlinkCounter);
    v(GROUP_NONE, blinks.attractFrames);
    v.require(blinks.scoreBlinkCounter >= 0 && blinks.scoreBlinkCounter <= 10 &&
                  blinks.messageBlinkCounter >= 0 && blinks.messageBlinkCounter <= 20 &&
                  blinks.attractFrames >= 0 && blinks.attractFrames < ATTRACT_FRAMES_WRAP,
              "the blink counters");
}

void scoreBlinkStep()
{
    blinkStep(blinks.scoreBlinkOn, blinks.scoreBlinkCounter, 10);
}
void messageBlinkStep()
{
    blinkStep(blinks.messageBlinkOn, blinks.messageBlinkCounter, 20);
}

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

namespace
{
// What this frame shows, as the step before the drawing chose it: the drawing reads it and
// the game state, and changes neither.
struct CarPicture {
    SDL_Surface* first = nullptr;  // the sprite, or a crash spin's first view
    SDL_Surface* second = nullptr; // a crash spin's second view
    int y = 0, w = 0, h = 0;
};
struct FramePicture {
    CarPicture cars[2]; // by car kind
    bool scoreShown = true, timeShown = true, attractTextShown = false, volumeBarShown = false;
    const char* message = nullptr; // "PAUSED" or "CHECKPOINT"
} picture;
} // namespace

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

void stepCar(Car& car, bool dark)
{
    CarPicture& p = picture.cars[car.kind == CAR_PLAYER ? 0 : 1];
    p = CarPicture();
    if (!car.frameA || !car.frameB)
        return;
    p.w = car.frameA->w, p.h = car.frameA->h;
    p.y = car.kind == CAR_PLAYER ? car.screenY : car.y;
    switch (car.state) {
    case CAR_DRIVING:
    case CAR_ON_GRAVEL:
        if (car.speed == 0 && car.trafficSpeed == 0) {
            p.first = car.frameA;
        } else if (car.kind == CAR_TRAFFIC && dark) {
            p.first = car.darkFrame;
            if (car.darkFrame)
                p.w = car.darkFrame->w, p.h = car.darkFrame->h;
        } else {
            p.first = car.animPhase ? car.frameA : car.frameB;
            car.animPhase = !car.animPhase;
        }
        break;
    case CAR_CRASHED:
    case CAR_SKIDDING: {
        SDL_Surface* const* step = car.crashFrames[crashSpin.crashFrameStep + 1];
        p.first = step[CRASH_UP_CW];
        p.second = step[CRASH_UP_CCW];
        p.y = car.screenY;
        crashSpin.crashFrameStep = crashSpin.crashFrameStep == 4 ? 0 : crashSpin.crashFrameStep + 1;
        break;
    }
    default:
        break;
    }
}

bool drawCar(const Car& car, SDL_Surface* dest)
{
    if (!car.frameA || !car.frameB)
        return false;
    const CarPicture& p = picture.cars[car.kind == CAR_PLAYER ? 0 : 1];
    blitRegion(p.first, dest, 0, 0, car.x, p.y, p.w, p.h);
    blitRegion(p.second, dest, 0, 0, car.x, p.y, p.w, p.h);
    if (car.kind == CAR_PLAYER && car.headlightsOn)
        drawHeadlight(car, dest);
    return true;
}

int advanceView(const TileList& tiles)
{
    int earned = 0;
    stepTrack(tiles, game.gameState == STATE_PAUSED ? 0 : playerCar.speed, nullptr);
    if (inRun())
        stepCar(playerCar, true);
    stepCar(trafficCar, inRun() && playerCar.headlightsOn);
    picture.scoreShown = picture.timeShown = true;
    picture.attractTextShown = false;
    picture.message = nullptr;
    if (inRun()) {
        if (game.penaltyWatch.isStarted()) { // the score flashes while a contact penalty is pending
            scoreBlinkStep();
            picture.scoreShown = blinks.scoreBlinkOn;
        }
        earned = processMarkers();
        if (game.timeLeft >= 0 && game.timeLeft <= 10) {
            messageBlinkStep();
            picture.timeShown = blinks.messageBlinkOn;
        }
        ageCheckpointMessage();
        if (game.gameState == STATE_PAUSED || checkpointMessageShowing()) {
            messageBlinkStep();
            if (blinks.messageBlinkOn)
                picture.message = game.gameState == STATE_PAUSED    ? "PAUSED"
                                  : game.gameState == STATE_PLAYING ? "CHECKPOINT"
                                                                    : nullptr;
        }
    } else if (game.gameState == STATE_ATTRACT) {
        messageBlinkStep();
        picture.attractTextShown = blinks.messageBlinkOn;
    }
    blinks.attractFrames =
        game.gameState == STATE_ATTRACT ? (blinks.attractFrames + 1) % ATTRACT_FRAMES_WRAP : 0;
    picture.volumeBarShown = game.volumeBarAge <= 50;
    if (picture.volumeBarShown)
        ++game.volumeBarAge;
    return earned;
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
    if (list.empty())
        drawShadowed("no runs yet: be the first", 56, 128, INK);
    for (size_t i = 0; i < list.size(); ++i) { // in columns: the font's letters differ in width
        const int y = 89 + 10 * static_cast<int>(i);
        const int* ink = i == 0 ? GOLD : INK;
        char field[24];
        std::snprintf(field, sizeof field, "%zu", i + 1);
        drawShadowed(field, 28, y, ink);
        drawShadowed(list[i].initials.c_str(), 48, y, ink);
        std::snprintf(field, sizeof field, "%d", list[i].score);
        drawShadowed(field, 96, y, ink);
        drawShadowed(list[i].date.c_str(), 172, y, ink);
    }
}
} // namespace

bool tablePageNext()
{
    return game.gameState == STATE_ATTRACT &&
           (blinks.attractFrames + 1) % (ROAD_PAGE_FRAMES + TABLE_PAGE_FRAMES) == ROAD_PAGE_FRAMES;
}

void drawPanelReadouts()
{
    if (!screen)
        return;
    drawPicture(panelFaceImage, PANEL_X, 0);
    drawReadout(game.highScore, HIGH_SCORE_Y);
    drawReadout(game.score, SCORE_Y);
    drawReadout(game.timeLeft, TIME_Y);
}

void drawCourseChoice()
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
    std::snprintf(line, sizeof line, "BEST %d", game.highScore);
    drawShadowed(line, 8, 18, INK);
    const int page = blinks.attractFrames % (ROAD_PAGE_FRAMES + TABLE_PAGE_FRAMES);
    if (page >= ROAD_PAGE_FRAMES)
        drawTablePage(course->name);
}

bool drawFrame(const TileList& tiles, float fpsEstimate)
{
    static const int WHITE[3] = {255, 255, 255};
    const int* overlay = std::abs(roadReadings.playerTerrain) == 11 ? WHITE : RED;

    drawTrack(tiles);
    if (inRun())
        drawCar(playerCar, screen);
    drawCar(trafficCar, screen);
    drawPicture(panelFaceImage, PANEL_X, 0);

    if (inRun()) {
        if (picture.scoreShown)
            drawReadout(game.score, SCORE_Y);
        drawReadout(game.highScore, HIGH_SCORE_Y);
        for (int i = 0; i < markerCounters.signsShownCount; ++i)
            drawPicture(markerCounters.signsShown[i] == CODE_ROAD_OPENS ? warnOpenImage
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
        drawCourseChoice();
    }

    if (game.showDiagnostics)
        drawDiagnostics(fpsEstimate, overlay);
    if (picture.volumeBarShown)
        drawMediumText(screen, volumeBar(game.masterVolume), 10, 215, overlay[0], overlay[1],
                       overlay[2]);
    if (beforeFlip)
        beforeFlip();
    presentScreen();
    return true;
}
