#include "present/sound.h"
#include <SDL_mixer.h>

namespace {
bool logging = false;
std::vector<SoundRequest> requests;

void note(SoundOp op, int channel, const Mix_Chunk* sample, int loops)
{
    if (logging)
        requests.push_back({op, channel, sample, loops});
}
}  // namespace

void soundOpenDevice()
{
    // 3096, not a power of two: keep the disk or a real driver, never SDL's dummy one.
    Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 3096);
}

void soundCloseDevice() { Mix_CloseAudio(); }

int soundPlay(int channel, Mix_Chunk* sample, int loops)
{
    note(SOUND_PLAY, channel, sample, loops);
    if (!sample)
        return -1;   // a missing sample is simply not heard
    return Mix_PlayChannelTimed(channel, sample, loops, -1);
}

void soundHalt(int channel)
{
    note(SOUND_HALT, channel, nullptr, 0);
    Mix_HaltChannel(channel);
}

void soundPause(int channel)
{
    note(SOUND_PAUSE, channel, nullptr, 0);
    Mix_Pause(channel);
}

void soundResume(int channel)
{
    note(SOUND_RESUME, channel, nullptr, 0);
    Mix_Resume(channel);
}

void soundVolume(int volume)
{
    note(SOUND_VOLUME, -1, nullptr, volume);
    Mix_Volume(-1, volume);
}

void setSoundLogging(bool on) { logging = on; }
const std::vector<SoundRequest>& soundLog() { return requests; }
void clearSoundLog() { requests.clear(); }
