#include "sim/markers.h"
#include "platform/sound.h"
#include "state/game.h"

MarkerCounters markerCounters;

Mix_Chunk* checkpointSound = nullptr;
Mix_Chunk* signalSound = nullptr;

namespace
{
constexpr int SIGN_FRAMES = 100;
} // namespace

void resetMarkerState()
{
    markerCounters = MarkerCounters();
}

void visitMarkerState(StateVisitor& v)
{
    const StateGroup g = GROUP_CHECKPOINTS;
    v(g, markerCounters.checkpointCount), v(g, markerCounters.checkpointMessageAge),
        v(g, markerCounters.warnOpenFrames), v(g, markerCounters.warnFunnelFrames);
    v(g, markerCounters.warnOpenSounded), v(g, markerCounters.warnFunnelSounded);
    v.require(markerCounters.checkpointCount >= 0 && markerCounters.checkpointCount <= 1 &&
                  markerCounters.checkpointMessageAge >= 0 &&
                  markerCounters.checkpointMessageAge <= 99 && markerCounters.warnOpenFrames >= 0 &&
                  markerCounters.warnFunnelFrames >= 0 && markerCounters.warnOpenFrames <= 100 &&
                  markerCounters.warnFunnelFrames <= 100,
              "the checkpoint and sign counters");
}

namespace
{

// One warning sign's turn: shown at the top of the road, one signal per sign episode. Signs
// of one kind share the counter and the signal flag.
void showSign(TrackMarker& slot, int& frames, bool& sounded)
{
    markerCounters.signsShown[markerCounters.signsShownCount++] = slot.code;
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

int processMarkers()
{
    int earned = 0;
    markerCounters.signsShownCount = 0;
    for (TrackMarker& slot : trackView.trackMarkers) {
        if (!slot.active || slot.done)
            continue;
        switch (slot.code) {
        case CODE_CHECKPOINT:
            slot.done = true;
            if (game.gameState == STATE_PLAYING) {
                // Every checkpoint shows its message in full; a new one starts it afresh.
                markerCounters.checkpointCount = 1;
                markerCounters.checkpointMessageAge = 0;
                soundPlay(5, checkpointSound, 0);
                earned += CHECKPOINT_SECONDS;
            }
            break;
        case CODE_ROAD_OPENS:
            showSign(slot, markerCounters.warnOpenFrames, markerCounters.warnOpenSounded);
            break;
        case CODE_ROAD_NARROWS:
            showSign(slot, markerCounters.warnFunnelFrames, markerCounters.warnFunnelSounded);
            break;
        default:
            break;
        }
    }
    return earned;
}

void ageCheckpointMessage()
{
    if (markerCounters.checkpointCount == 1)
        ++markerCounters.checkpointMessageAge;
    if (markerCounters.checkpointMessageAge > 99) {
        markerCounters.checkpointMessageAge = 0;
        markerCounters.checkpointCount = 0;
    }
}

bool checkpointMessageShowing()
{
    return markerCounters.checkpointMessageAge >= 1 && markerCounters.checkpointMessageAge <= 99;
}
