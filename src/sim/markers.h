#pragma once
#include "platform/state_visitor.h"
#include "track/track.h"

struct Mix_Chunk;

// Checkpoints and warning signs: what the marker tiles that came into view do.
extern int checkpointCount;
extern int checkpointMessageAge;
extern int warnOpenFrames;
extern int warnFunnelFrames;
extern bool warnOpenSounded;
extern bool warnFunnelSounded;
extern Mix_Chunk* checkpointSound;
extern Mix_Chunk* signalSound;
// The warning signs the last marker pass showed (their marker codes), in the order it showed
// them: the drawing puts each one's picture at the top of the road.
extern int signsShown[MARKER_SLOTS];
extern int signsShownCount;

void resetMarkerState();
void visitMarkerState(StateVisitor& v);
// Carries out checkpoints and warning signs that the road drawing registered; draws nothing.
void processMarkers();
// Ages the "CHECKPOINT" message; true while it is showing.
void ageCheckpointMessage();
bool checkpointMessageShowing();
