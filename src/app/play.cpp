#include "app/play.h"
#include "app/session.h"
#include "platform/exit_status.h"
#include "platform/signals.h"
#include "present/intro.h"
#include "replay/recorder.h"
#include "rules/loop.h"
#include "rules/name_entry.h"
#include "save/settings.h"
#include "state/game.h"

int playGame(const Options& options)
{
    enterSession(true);
    if (!courseFound(options.course))
        return EXIT_NO_LEVEL;
    TileList tiles;
    const int status = startSession({.fullScreen = options.fullscreen,
                                     .scale = options.scale,
                                     .withSound = true,
                                     .headless = false,
                                     .course = options.course},
                                    tiles);
    if (status != 0)
        return status;
    if (quitSignalled()) {
        // Asked to stop while starting: nothing was played, so nothing is saved.
        shutdown(tiles, false);
        return 0;
    }
    showReadyBanner();
    // Every run is kept beside the settings, to be watched again with --replay.
    recordRuns(settingsFolder(), tiles);
    FrameLoop loop;
    startFrameLoop(loop);
    if (!quitSignalled())
        for (int before = game.gameState; !runFrame(loop, tiles); before = game.gameState) {
            if (!offerFinishedRun(before))
                break;
            refreshTable();
        }
    stopRecording();
    shutdown(tiles, true);
    return 0;
}
