#include "rules/view_step.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "sim/road.h"
#include "state/game.h"
#include "track/track.h"

Blinks blinks;
FramePicture framePicture;

namespace
{
constexpr int ATTRACT_FRAMES_WRAP = 100000;
// Attract's pages: the road for the first seconds, then the chosen course's table of best
// runs and the road by turns.
constexpr int ROAD_PAGE_FRAMES = 420, TABLE_PAGE_FRAMES = 320;

void blinkStep(bool& on, int& counter, int bound)
{
    if (counter == 0)
        on = true;
    else if (counter == bound)
        on = false;
    counter += on ? 1 : -1;
}

void scoreBlinkStep()
{
    blinkStep(blinks.scoreBlinkOn, blinks.scoreBlinkCounter, 10);
}
void messageBlinkStep()
{
    blinkStep(blinks.messageBlinkOn, blinks.messageBlinkCounter, 20);
}

} // namespace

void resetViewState()
{
    blinks = Blinks();
    framePicture = FramePicture();
}

void visitViewState(StateVisitor& v)
{
    v(GROUP_NONE, blinks.scoreBlinkOn), v(GROUP_NONE, blinks.scoreBlinkCounter);
    v(GROUP_NONE, blinks.messageBlinkOn), v(GROUP_NONE, blinks.messageBlinkCounter);
    v(GROUP_NONE, blinks.attractFrames);
    v.require(blinks.scoreBlinkCounter >= 0 && blinks.scoreBlinkCounter <= 10 &&
                  blinks.messageBlinkCounter >= 0 && blinks.messageBlinkCounter <= 20 &&
                  blinks.attractFrames >= 0 && blinks.attractFrames < ATTRACT_FRAMES_WRAP,
              "the blink counters");
}

void stepCar(Car& car, bool dark)
{
    CarPicture& p = framePicture.cars[car.kind == CAR_PLAYER ? 0 : 1];
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

int advanceView(const TileList& tiles)
{
    FramePicture& picture = framePicture;
    int earned = 0;
    stepTrack(tiles, game.gameState == STATE_PAUSED ? 0 : playerCar.speed, nullptr);
    if (inRun(game))
        stepCar(playerCar, true);
    stepCar(trafficCar, inRun(game) && playerCar.headlightsOn);
    picture.scoreShown = picture.timeShown = true;
    picture.attractTextShown = false;
    picture.message = nullptr;
    if (inRun(game)) {
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
    picture.tablePageShown =
        blinks.attractFrames % (ROAD_PAGE_FRAMES + TABLE_PAGE_FRAMES) >= ROAD_PAGE_FRAMES;
    picture.volumeBarShown = game.volumeBarAge <= 50;
    if (picture.volumeBarShown)
        ++game.volumeBarAge;
    return earned;
}

bool tablePageNext()
{
    return game.gameState == STATE_ATTRACT &&
           (blinks.attractFrames + 1) % (ROAD_PAGE_FRAMES + TABLE_PAGE_FRAMES) == ROAD_PAGE_FRAMES;
}

GameView currentView()
{
    return {game, playerCar, trafficCar, trackView, markerCounters, roadReadings, framePicture};
}
