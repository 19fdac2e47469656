#pragma once
#include <cstdint>
#include <vector>

struct Mix_Chunk;

// Every sound request of the game goes through here, so that the plan of channels lives in
// one place and tests can read back what was asked for, not only what the mixer played.
enum SoundOp { SOUND_PLAY, SOUND_HALT, SOUND_PAUSE, SOUND_RESUME, SOUND_VOLUME };

struct SoundRequest {
    SoundOp op;
    int channel;             // -1: every channel (or the first free one, for a play)
    const Mix_Chunk* sample; // plays only
    int loops;               // plays: -1 forever, 0 once; volume: the volume
};

// The audio device: 22050 Hz, signed 16-bit stereo, 3096-byte chunks. When it cannot start
// the game says so in one line and plays silently: every request below becomes a no-op.
bool soundOpenDevice();
void soundCloseDevice();
bool soundDeviceOpen();

int soundPlay(int channel, Mix_Chunk* sample, int loops);
void soundHalt(int channel);
void soundPause(int channel);
void soundResume(int channel);
void soundVolume(int volume);

// Samples are known by their file: the same id whether the mixer loaded them or, with no
// sound device, they stand in silently (so a replay's sound requests compare either way).
Mix_Chunk* soundLoad(const char* path);
uint32_t sampleId(const Mix_Chunk* sample);
// A replay being watched plays at the viewer's volume (0..128, set at once): the recorded
// volume changes are noted but not applied. -1 gives the game its volume back.
void setViewerVolume(int volume);

// Music: one tune at a time from a file, looping, at its own volume (0..128) under the effects'.
// It is no part of the request log: a run's replay never compares its music. Without a device,
// or with the tune's file missing, it is silence.
void musicPlay(const char* path);
// The tune playing, "" for none.
const char* musicPlaying();
void musicPause(bool paused);
void musicFadeOut(int ms);
void musicStop();
void musicVolume(int volume);

// The request log is off unless a test turns it on.
void setSoundLogging(bool on);
const std::vector<SoundRequest>& soundLog();
void clearSoundLog();
// The log off and empty, the game's own volume: as at start-up (the device and the samples
// are left as they are).
void resetSoundState();
