#include "rules/game_state.h"
#include "platform/clock.h"
#include "platform/gamepad.h"
#include "platform/signals.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "present/intro.h"
#include "present/render.h"
#include "rules/courses.h"
#include "rules/ghost.h"
#include "rules/input.h"
#include "rules/loop.h"
#include "rules/states.h"
#include "rules/view_step.h"
#include "save/preferences.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "sim/car.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "sim/player.h"
#include "sim/road.h"
#include "sim/traffic.h"
#include "state/game.h"
#include "track/track.h"

void resetEveryRoom()
{
    resetSharedVariables();
    resetRoadReadings();
    resetSettingsState();
    preferences = Preferences();
    resetCourseChoice();
    scoreTables = ScoreTables();
    resetInputState();
    resetCars();
    resetPlayerState();
    resetTrafficState();
    resetContactState();
    resetMarkerState();
    resetTrackState();
    resetViewState();
    resetGhostRace();
    resetSoundState();
    resetIntroState();
    clearClockHooks();
    clearFrameHooks();
    clearQuitSignal();
    lockFullScreen(false);
    showFrames(true);
    resetGamepadState();
}

void visitGameState(StateVisitor& v)
{
    visitGameVariables(v);
    visitRoadReadings(v);
    visitInputState(v);
    visitCars(v);
    visitPlayerState(v);
    visitTrafficState(v);
    visitContactState(v);
    visitMarkerState(v);
    visitTrackState(v);
    visitViewState(v);
}
