#include "present/render.h"
#include "platform/window.h"
#include "present/assets.h"
#include "present/text.h"
#include "sim/contact.h"
#include "state/game.h"
#include "track/track.h"
#include <SDL.h>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace
{
bool scoreBlinkOn = true;
int scoreBlinkCounter = 0;
} // namespace
bool messageBlinkOn = true;
int messageBlinkCounter = 0;
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
    const int rows[][2] = {{0, static_cast<int>(fps)},
                           {30, playerTerrain},
                           {40, distanceMark},
                           {50, 0},
                           {80, diagTileRow},
                           {90, diagTrafficSpeed},
                           {110, diagFirstTile},
                           {120, diagScroll},
                           {130, probeX},
                           {140, probeY},
                           {150, diagLeftEdge},
                           {160, diagRightEdge}};
    for (const auto& row : rows)
        drawSmallNumber(screen, row[1], 10, row[0], c[0], c[1], c[2]);
    drawSmallText(screen, VERSION_TEXT, 10, 100, c[0], c[1], c[2]);
    drawSmallText(screen, "*X*", probeX, probeY, 255, 255, 255);
}

bool inRun()
{
    return gameState == STATE_PLAYING || gameState == STATE_TIME_UP || gameState == STATE_PAUSED;
}
} // namespace

void resetRenderState()
{
    scoreBlinkOn = true;
    scoreBlinkCounter = 0;
    messageBlinkOn = true;
    messageBlinkCounter = 0;
}

void visitRenderState(StateVisitor& v)
{
    v(GROUP_NONE, scoreBlinkOn), v(GROUP_NONE, scoreBlinkCounter);
    v(GROUP_NONE, messageBlinkOn), v(GROUP_NONE, messageBlinkCounter);
    v.require(scoreBlinkCounter >= 0 && scoreBlinkCounter <= 10 && messageBlinkCounter >= 0 &&
                  messageBlinkCounter <= 20,
              "the blink counters");
}

void scoreBlinkStep()
{
    blinkStep(scoreBlinkOn, scoreBlinkCounter, 10);
}
void messageBlinkStep()
{
    blinkStep(messageBlinkOn, messageBlinkCounter, 20);
}

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
    SDL_Rect to = {static_cast<Sint16>(destX), static_cast<Sint16>(destY), 0, 0};
    SDL_UpperBlit(src, &from, dest, &to);
}

void drawPicture(SDL_Surface* picture, int x, int y)
{
    if (picture)
        blitRegion(picture, screen, 0, 0, x, y, picture->w, picture->h);
}

bool drawTrack(const TileList& tiles, int delta)
{
    stepTrack(tiles, delta, screen ? drawTileAt : nullptr);
    return true;
}

void drawHeadlight(const Car& car, SDL_Surface* dest)
{
    if (car.headlightImage)
        blitRegion(car.headlightImage, dest, 0, 0, car.x - 88, car.screenY - 138,
                   car.headlightImage->w, car.headlightImage->h);
}

bool drawCar(Car& car, SDL_Surface* dest, bool dark)
{
    if (!car.frameA || !car.frameB)
        return false;
    const int w = car.frameA->w, h = car.frameA->h;
    const int row = car.kind == CAR_PLAYER ? car.screenY : car.y;
    auto alternate = [&] {
        blitRegion(car.animPhase ? car.frameA : car.frameB, dest, 0, 0, car.x, row, w, h);
        car.animPhase = !car.animPhase;
    };
    switch (car.state) {
    case CAR_DRIVING:
    case CAR_ON_GRAVEL:
        if (car.speed == 0 && car.trafficSpeed == 0)
            blitRegion(car.frameA, dest, 0, 0, car.x, row, w, h);
        else if (car.kind == CAR_TRAFFIC && dark) {
            if (car.darkFrame)
                blitRegion(car.darkFrame, dest, 0, 0, car.x, car.y, car.darkFrame->w,
                           car.darkFrame->h);
        } else
            alternate();
        break;
    case CAR_CRASHED:
    case CAR_SKIDDING: {
        SDL_Surface* const* step = car.crashFrames[crashFrameStep + 1];
        blitRegion(step[CRASH_UP_CW], dest, 0, 0, car.x, car.screenY, w, h);
        blitRegion(step[CRASH_UP_CCW], dest, 0, 0, car.x, car.screenY, w, h);
        crashFrameStep = crashFrameStep == 4 ? 0 : crashFrameStep + 1;
        break;
    }
    default:
        break;
    }
    if (car.kind == CAR_PLAYER && car.headlightsOn)
        drawHeadlight(car, dest);
    return true;
}

bool drawFrame(const TileList& tiles, float fpsEstimate)
{
    static const int WHITE[3] = {255, 255, 255};
    const int* overlay = std::abs(playerTerrain) == 11 ? WHITE : RED;

    drawTrack(tiles, gameState == STATE_PAUSED ? 0 : playerCar.speed);
    if (inRun())
        drawCar(playerCar, screen, true);
    drawCar(trafficCar, screen, inRun() && playerCar.headlightsOn);
    drawPicture(panelImage, PANEL_X, 0);
    drawPicture(panelMaskImage, PANEL_X, 0);

    if (inRun()) {
        if (!penaltyWatch.isStarted()) {
            drawReadout(score, SCORE_Y);
        } else {
            scoreBlinkStep(); // the score flashes while a contact penalty is pending
            if (scoreBlinkOn)
                drawReadout(score, SCORE_Y);
        }
        drawReadout(highScore, HIGH_SCORE_Y);
        processMarkers();
        for (int i = 0; i < signsShownCount; ++i)
            drawPicture(signsShown[i] == CODE_ROAD_OPENS ? warnOpenImage : warnFunnelImage, SIGN_X,
                        SIGN_Y);
        if (timeLeft < 0 || timeLeft > 10) {
            drawReadout(timeLeft, TIME_Y);
        } else {
            messageBlinkStep();
            if (messageBlinkOn)
                drawReadout(timeLeft, TIME_Y);
        }
        ageCheckpointMessage();
        if (gameState == STATE_PAUSED || checkpointMessageShowing()) {
            messageBlinkStep();
            if (messageBlinkOn) {
                if (gameState == STATE_PAUSED)
                    drawMediumText(screen, "PAUSED", 124, 50, 255, 0, 0);
                else if (gameState == STATE_PLAYING)
                    drawMediumText(screen, "CHECKPOINT", 124, 50, 255, 0, 0);
            }
        }
    } else if (gameState == STATE_ATTRACT) {
        messageBlinkStep();
        if (messageBlinkOn) {
            drawMediumText(screen, "GAME OVER", 110, 50, 0, 255, 255);
            const int values[3][2] = {
                {highScore, HIGH_SCORE_Y}, {score, SCORE_Y}, {timeLeft, TIME_Y}};
            for (int pass = 0; pass < 2; ++pass)
                for (const auto& v : values)
                    drawLedNumber(screen, v[0], LED_X - pass, v[1], 255, 0, 0);
        }
        drawMediumText(screen, "DEPOSIT COIN", 103, 200, 255, 0, 0);
        drawSmallText(screen, "(enter/home)", 126, 218, 255, 0, 0);
    }

    if (showDiagnostics)
        drawDiagnostics(fpsEstimate, overlay);
    if (volumeBarAge <= 50) {
        drawMediumText(screen, volumeBar(masterVolume), 10, 215, overlay[0], overlay[1],
                       overlay[2]);
        ++volumeBarAge;
    }
    if (beforeFlip)
        beforeFlip();
    presentScreen();
    return true;
}
