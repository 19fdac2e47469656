#include "sim/markers.h"
#include "platform/sound.h"
#include "state/game.h"

int checkpointCount = 0;
int checkpointMessageAge = 0;
int warnOpenFrames = 0;
int warnFunnelFrames = 0;
bool warnOpenSounded = false;
bool warnFunnelSounded = false;
Mix_Chunk* checkpointSound = nullptr;
Mix_Chunk* signalSound = nullptr;
int signsShown[MARKER_SLOTS];
int signsShownCount = 0;

namespace
{
constexpr int SIGN_FRAMES = 100;
constexpr int CHECKPOINT_BONUS = 30;
} // namespace

void resetMarkerState()
{
    checkpointCount = checkpointMessageAge = 0;
    warnOpenFrames = warnFunnelFrames = 0;
    warnOpenSounded = warnFunnelSounded = false;
    signsShownCount = 0;
}

void visitMarkerState(StateVisitor& v)
{
    const StateGroup g = GROUP_CHECKPOINTS;
    v(g, checkpointCount), v(g, checkpointMessageAge), v(g, warnOpenFrames), v(g, warnFunnelFrames);
    v(g, warnOpenSounded), v(g, warnFunnelSounded);
    v.require(checkpointCount >= 0 && checkpointCount <= 1 && checkpointMessageAge >= 0 &&
                  checkpointMessageAge <= 100 && warnOpenFrames >= 0 && warnFunnelFrames >= 0 &&
                  warnOpenFrames <= 100 && warnFunnelFrames <= 100,
              "the checkpoint and sign counters");
}

namespace
{

// One warning sign's turn: shown at the top of the road, one signal per sign episode. Signs
// of one kind share the counter and the signal flag.
void showSign(TrackMarker& slot, int& frames, bool& sounded)
{
    signsShown[signsShownCount++] = slot.code;
    if (!sounded) {
        soundPlay(-1, signalSound, 0);
        sounded = true;
    }
    if (++frames >= SIGN_FRAMES) {
        slot.done = true;
        sounded = false;
        frames = 0;
    }
}

} // namespace

void processMarkers()
{
    signsShownCount = 0;
    for (TrackMarker& slot : trackMarkers) {
        if (!slot.active || slot.done)
            continue;
        switch (slot.code) {
        case CODE_CHECKPOINT:
            slot.done = true;
            if (gameState == STATE_PLAYING) {
                // Every checkpoint shows its message in full; a new one starts it afresh.
                checkpointCount = 1;
                checkpointMessageAge = 0;
                soundPlay(5, checkpointSound, 0);
                timeLimit += CHECKPOINT_BONUS;
            }
            break;
        case CODE_ROAD_OPENS:
            showSign(slot, warnOpenFrames, warnOpenSounded);
            break;
        case CODE_ROAD_NARROWS:
            showSign(slot, warnFunnelFrames, warnFunnelSounded);
            break;
        default:
            break;
        }
    }
}

void ageCheckpointMessage()
{
    if (checkpointCount == 1)
        ++checkpointMessageAge;
    if (checkpointMessageAge > 99) {
        checkpointMessageAge = 0;
        checkpointCount = 0;
    }
}

bool checkpointMessageShowing()
{
    return checkpointMessageAge >= 1 && checkpointMessageAge <= 99;
}
