#include "app/music.h"
#include "platform/sound.h"
#include "save/preferences.h"
#include "state/game.h"
#include "track/course.h"
#include <string>
#include <unistd.h>

namespace
{
constexpr int FADE_MS = 2500;

std::string tuneFor(bool running)
{
    const std::string folder = "_resources/music/";
    const Course* course = chosenCourse();
    if (!running || !course)
        return folder + "attract.wav";
    const int shipped = course->own ? 0 : courseList.chosen;
    const std::string tune = folder + "0" + std::to_string(shipped + 1) + ".wav";
    return access(tune.c_str(), R_OK) == 0 ? tune : folder + "01.wav";
}
} // namespace

void keepMusic()
{
    static int volume = -1;
    if (!preferences.musicOn) {
        if (*musicPlaying())
            musicStop();
        return;
    }
    if (volume != preferences.musicVolume)
        musicVolume(volume = preferences.musicVolume);
    if (game.gameState == STATE_TIME_UP) {
        musicFadeOut(FADE_MS);
        return;
    }
    musicPlay(tuneFor(inRun(game)).c_str());
    musicPause(game.gameState == STATE_PAUSED);
}
