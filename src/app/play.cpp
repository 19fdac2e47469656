#include "app/play.h"
#include "app/ghost_choice.h"
#include "app/music.h"
#include "app/session.h"
#include "app/watch.h"
#include "platform/exit_status.h"
#include "platform/gamepad.h"
#include "platform/signals.h"
#include "present/intro.h"
#include "replay/recorder.h"
#include "rules/ghost.h"
#include "rules/loop.h"
#include "rules/name_entry.h"
#include "rules/settings_screen.h"
#include "rules/states.h"
#include "save/preferences.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "state/game.h"

int playGame(const Options& options)
{
    enterSession(true);
    std::string course = options.course;
    if (!checkGhostFile(options.ghost, course))
        return EXIT_BAD_REPLAY;
    if (!courseFound(course))
        return EXIT_NO_LEVEL;
    TileList tiles;
    loadPreferences(); // the window's scale and full screen among them
    setPadLayout(preferences.padButtons);
    const int status =
        startSession({.fullScreen = options.fullscreen || preferences.fullScreen,
                      .scale = options.scale ? options.scale : preferences.windowScale,
                      .withSound = true,
                      .headless = false,
                      .course = course},
                     tiles);
    if (status != 0)
        return status;
    if (quitSignalled()) {
        // Asked to stop while starting: nothing was played, so nothing is saved.
        shutdown(tiles, false);
        return 0;
    }
    // --ghost off is for this session; a ghost asked for is on; else as the player left it.
    ghostRace.switchedOn = options.ghost.empty() ? preferences.ghostOn : options.ghost != "off";
    keepGhostCurrent(options.ghost, tiles, true);
    showReadyBanner();
    // Every run is kept beside the settings, to be watched again with --replay.
    recordRuns(settingsFolder(), tiles);
    FrameLoop loop;
    startFrameLoop(loop);
    if (!quitSignalled())
        for (int before = game.gameState; !runFrame(loop, tiles); before = game.gameState) {
            const std::string enteredBefore = scoreTables.lastEntered.stamp;
            const bool goOn = offerFinishedRun(before);
            if (scoreTables.lastEntered.stamp != enteredBefore)
                keepTableRun(scoreTables.lastEntered); // its run stays with the entry
            if (!goOn)
                break;
            refreshTable();
            if (const int place = takeWatchRequest())
                watchTableRun(place, tiles, loop);
            if (takeSettingsRequest() && !openSettingsScreen())
                break;
            keepMusic();
            keepGhostCurrent(options.ghost, tiles,
                             before != STATE_ATTRACT && game.gameState == STATE_ATTRACT);
        }
    stopRecording();
    shutdown(tiles, true);
    return 0;
}
