#pragma once
#include "platform/state_visitor.h"
#include "track/track.h"

struct Mix_Chunk;

// Checkpoints and warning signs: what the marker tiles that came into view do.
struct MarkerCounters {
    int checkpointCount = 0;
    int checkpointMessageAge = 0;
    int warnOpenFrames = 0;
    int warnFunnelFrames = 0;
    bool warnOpenSounded = false;
    bool warnFunnelSounded = false;
    // The warning signs the last marker pass showed (their marker codes), in the order it
    // showed them: the drawing puts each one's picture at the top of the road.
    int signsShown[MARKER_SLOTS] = {};
    int signsShownCount = 0;
};
extern MarkerCounters markerCounters;

extern Mix_Chunk* checkpointSound;
extern Mix_Chunk* signalSound;

void resetMarkerState();
void visitMarkerState(StateVisitor& v);
// Carries out checkpoints and warning signs that the view registered; draws nothing. Returns
// the seconds the checkpoints passed in a run have earned (the rules add them to the time).
int processMarkers();
// Ages the "CHECKPOINT" message; true while it is showing.
void ageCheckpointMessage();
bool checkpointMessageShowing();
