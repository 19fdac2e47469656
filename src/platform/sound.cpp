#include "platform/sound.h"
#include "platform/hash.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <unistd.h>

namespace
{
bool logging = false;
int viewerVolume = -1; // the volume a replay's viewer chose, or -1
std::map<const Mix_Chunk*, uint32_t> sampleIds;
std::deque<Mix_Chunk> silentSamples; // zero-length stand-ins; never handed to the mixer
bool deviceOpen = false; // without a device every request is noted and otherwise ignored
std::vector<SoundRequest> requests;

void note(SoundOp op, int channel, const Mix_Chunk* sample, int loops)
{
    if (logging)
        requests.push_back({op, channel, sample, loops});
}
} // namespace

bool soundOpenDevice()
{
    // Audio starts on its own: a driver that cannot start must not take video down with it.
    // SDL's dummy driver overruns its buffer with a chunk that is not a power of two (3096),
    // so the game plays silently there rather than open it.
    char driver[16] = "";
    const bool started = (SDL_WasInit(SDL_INIT_AUDIO) || SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) &&
                         SDL_AudioDriverName(driver, sizeof driver);
    const bool dummy = started && std::strcmp(driver, "dummy") == 0;
    if (dummy)
        SDL_SetError("SDL's dummy audio driver");
    deviceOpen = started && !dummy && Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 3096) == 0;
    if (!deviceOpen)
        std::fprintf(stderr, "Quindara: no sound (%s); playing silently.\n", SDL_GetError());
    return deviceOpen;
}

namespace
{
Mix_Music* tune = nullptr;
std::string tunePath;
} // namespace

void musicPlay(const char* path)
{
    if (tunePath == path && tune && Mix_PlayingMusic() && !Mix_FadingMusic())
        return; // the tune goes on
    musicStop();
    tunePath = path;
    if (!deviceOpen || !*path)
        return;
    tune = Mix_LoadMUS(path);
    if (tune)
        Mix_PlayMusic(tune, -1);
}

const char* musicPlaying()
{
    return tunePath.c_str();
}

void musicPause(bool paused)
{
    if (!tune)
        return;
    if (paused)
        Mix_PauseMusic();
    else
        Mix_ResumeMusic();
}

void musicFadeOut(int ms)
{
    if (tune && Mix_PlayingMusic() && !Mix_FadingMusic())
        Mix_FadeOutMusic(ms);
}

void musicStop()
{
    if (tune) {
        Mix_HaltMusic();
        Mix_FreeMusic(tune);
    }
    tune = nullptr;
    tunePath.clear();
}

void musicVolume(int volume)
{
    if (deviceOpen)
        Mix_VolumeMusic(std::clamp(volume, 0, 128));
}

void soundCloseDevice()
{
    musicStop();
    if (deviceOpen)
        Mix_CloseAudio();
    deviceOpen = false;
}

bool soundDeviceOpen()
{
    return deviceOpen;
}

Mix_Chunk* soundLoad(const char* path)
{
    Mix_Chunk* sample = nullptr;
    if (deviceOpen) {
        SDL_RWops* file = SDL_RWFromFile(path, "rb");
        sample = file ? Mix_LoadWAV_RW(file, 1) : nullptr;
    } else if (access(path, R_OK) == 0) {
        sample = &silentSamples.emplace_back();
    }
    if (sample)
        sampleIds[sample] = fnv1a(path, std::strlen(path));
    return sample;
}

uint32_t sampleId(const Mix_Chunk* sample)
{
    const auto found = sampleIds.find(sample);
    return found == sampleIds.end() ? 0 : found->second;
}

void setViewerVolume(int volume)
{
    viewerVolume = volume;
    if (deviceOpen && volume >= 0)
        Mix_Volume(-1, volume);
}

int soundPlay(int channel, Mix_Chunk* sample, int loops)
{
    note(SOUND_PLAY, channel, sample, loops);
    if (!sample || !deviceOpen)
        return -1; // a missing sample, or no sound at all, is simply not heard
    return Mix_PlayChannelTimed(channel, sample, loops, -1);
}

void soundHalt(int channel)
{
    note(SOUND_HALT, channel, nullptr, 0);
    if (deviceOpen)
        Mix_HaltChannel(channel);
}

void soundPause(int channel)
{
    note(SOUND_PAUSE, channel, nullptr, 0);
    if (deviceOpen)
        Mix_Pause(channel);
}

void soundResume(int channel)
{
    note(SOUND_RESUME, channel, nullptr, 0);
    if (deviceOpen)
        Mix_Resume(channel);
}

void soundVolume(int volume)
{
    note(SOUND_VOLUME, -1, nullptr, volume);
    if (deviceOpen && viewerVolume < 0)
        Mix_Volume(-1, volume);
}

void setSoundLogging(bool on)
{
    logging = on;
}
const std::vector<SoundRequest>& soundLog()
{
    return requests;
}
void clearSoundLog()
{
    requests.clear();
}

void resetSoundState()
{
    logging = false;
    requests.clear();
    viewerVolume = -1;
}
