// Recording every run, and playing a recording back: watched in the window, or checked frame
// by frame without one.
#include "shell/replay.h"
#include "present/render.h"
#include "present/sound.h"
#include "present/text.h"
#include "shell/clock.h"
#include "shell/game.h"
#include "shell/settings.h"
#include "shell/signals.h"
#include "shell/startup.h"
#include "sim/player.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <unistd.h>

namespace {
enum Mode { MODE_OFF, MODE_RECORDING, MODE_PLAYING };
Mode mode = MODE_OFF;

// Recording.
std::string recordFolder;
uint32_t recordCourse = 0;
bool runRecording = false;            // a run is under way and being kept
Replay run;
ReplayFrame frame;                    // the frame now running
std::vector<uint8_t> frameSnapshot;   // the state this attract frame began in
uint32_t frameSeed = 0;
int highScoreBefore = 0;

// Playing.
const Replay* playing = nullptr;
size_t playIndex = 0, eventIndex = 0, tickIndex = 0;
uint32_t lastTick = 0;
bool skipWaits = false;
FrameDigest playedDigest;

bool isInputEvent(uint8_t type)
{
    return type == SDL_KEYDOWN || type == SDL_KEYUP || type == SDL_JOYBUTTONDOWN ||
           type == SDL_JOYBUTTONUP;
}

void finishRun()
{
    runRecording = false;
    if (!writeReplayFile(recordFolder + "/last-run.qrp", run))
        return;   // a replay that cannot be kept costs nothing of the game
    if (highScore > highScoreBefore)
        writeReplayFile(recordFolder + "/best-run.qrp", run);
}
}  // namespace

void recordRuns(const std::string& folder, const TileList& tiles)
{
    mode = MODE_RECORDING;
    recordFolder = folder;
    recordCourse = courseChecksum(tiles);
    runRecording = false;
    setSoundLogging(true);
}

void stopRecording()
{
    if (mode == MODE_RECORDING)
        setSoundLogging(false);
    mode = MODE_OFF;
    runRecording = false;
}

void replayFrameBegins(const FrameLoop& loop)
{
    if (mode == MODE_PLAYING) {
        eventIndex = tickIndex = 0;
        return;
    }
    if (mode != MODE_RECORDING)
        return;
    frame = ReplayFrame();
    clearSoundLog();
    if (!runRecording && gameState == STATE_ATTRACT) {
        // A start press may come in this frame: keep where it begins.
        frameSnapshot = saveSnapshot(loop);
        frameSeed = rawTicks();
        highScoreBefore = highScore;
        std::srand(frameSeed);
    }
}

void replayFrameEnds(bool quit)
{
    if (mode == MODE_PLAYING) {
        playedDigest = digestFrame(soundLog());
        clearSoundLog();
        return;
    }
    if (mode != MODE_RECORDING)
        return;
    frame.digest = digestFrame(soundLog());
    frame.quit = quit;
    if (!runRecording) {
        if (gameState == STATE_ATTRACT || quit)
            return;   // still waiting for a coin
        run = Replay{VERSION_TEXT, recordCourse, frameSeed, frameSnapshot, {}};
        runRecording = true;
    }
    run.frames.push_back(frame);
    if (gameState == STATE_ATTRACT || quit || run.frames.size() >= MAX_REPLAY_FRAMES)
        finishRun();
}

bool takeInputEvent(SDL_Event& event)
{
    if (mode == MODE_PLAYING) {
        const ReplayFrame& f = playing->frames[playIndex];
        if (eventIndex >= f.events.size())
            return false;
        const ReplayEvent& e = f.events[eventIndex++];
        event = SDL_Event();
        event.type = e.type;
        if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
            const std::underlying_type_t<SDLKey> raw = e.code;
            std::memcpy(&event.key.keysym.sym, &raw, sizeof raw);
        } else {
            event.jbutton.button = static_cast<Uint8>(e.code);
        }
        return true;
    }
    if (!SDL_PollEvent(&event))
        return false;
    if (mode == MODE_RECORDING && isInputEvent(event.type)) {
        uint32_t code = event.jbutton.button;
        if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
            std::underlying_type_t<SDLKey> raw;
            std::memcpy(&raw, &event.key.keysym.sym, sizeof raw);
            code = static_cast<uint32_t>(raw) < 0xffff ? static_cast<uint32_t>(raw) : 0xffff;
        }
        frame.events.push_back({event.type, static_cast<uint16_t>(code)});
    }
    return true;
}

uint32_t tapTicks(uint32_t ticks)
{
    if (mode == MODE_RECORDING) {
        frame.ticks.push_back(ticks);
    } else if (mode == MODE_PLAYING) {
        const std::vector<uint32_t>& recorded = playing->frames[playIndex].ticks;
        if (tickIndex < recorded.size())
            lastTick = recorded[tickIndex++];
        return lastTick;   // read more often than recorded: the digests will say so
    }
    return ticks;
}

bool replaySkipsWaits() { return mode == MODE_PLAYING && skipWaits; }

namespace {
int viewerFrame = 0;

// Over a replay being watched: "REPLAY" blinking at the top of the panel.
void drawReplayLabel()
{
    if (++viewerFrame % 40 < 20)
        drawSmallText(screen, "REPLAY", 273, 14, 255, 220, 0);
}

// The viewer's own keys while watching: Escape leaves, Q and W set the viewer's volume.
// Returns false when the viewer has had enough.
bool viewerKeys(int& volume)
{
    static bool up = false, down = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type != SDL_KEYDOWN && e.type != SDL_KEYUP)
            continue;
        const bool pressed = e.type == SDL_KEYDOWN;
        if (e.key.keysym.sym == SDLK_ESCAPE && pressed)
            return false;
        if (e.key.keysym.sym == SDLK_q)
            up = pressed;
        if (e.key.keysym.sym == SDLK_w)
            down = pressed;
    }
    const int next = volume + (up ? 1 : 0) - (down ? 1 : 0);
    if (next != volume && next >= 0 && next <= 128) {
        volume = next;
        keepViewerVolume(false);
        soundVolume(volume);
        keepViewerVolume(true);
    }
    return !quitSignalled();
}

void printDigest(size_t frame, const FrameDigest& digest, const char* end)
{
    std::printf("%zu", frame);
    for (int g = 0; g < DIGEST_GROUPS; ++g)
        std::printf(" %s=%04x", DIGEST_GROUP_NAMES[g], digest.group[g]);
    std::fputs(end, stdout);
}

}  // namespace

int runReplay(const Options& options)
{
    installQuitSignals();
    enterProgramFolder();
    locateSettings(isInstalledCopy());
    std::string path = options.replay;
    if (path == "last" || path == "best") {
        path = settingsFolder() + "/" + path + "-run.qrp";
        if (access(path.c_str(), F_OK) != 0) {
            std::printf("Quindara: no %s run recorded yet (%s does not exist).\n",
                        options.replay == "best" ? "best" : "last", path.c_str());
            return EXIT_NO_SCREEN;
        }
    }
    Replay replay;
    std::string error;
    if (!readReplayFile(path, replay, error)) {
        std::printf("Quindara: %s: %s.\n", path.c_str(), error.c_str());
        return EXIT_NO_SCREEN;
    }
    if (replay.gameVersion != VERSION_TEXT) {
        std::printf("Quindara: %s was recorded by Quindara %s; this is %s.\n", path.c_str(),
                    replay.gameVersion.c_str(), VERSION_TEXT);
        return EXIT_NO_SCREEN;
    }
    if (options.recorded) {
        for (size_t i = 0; i < replay.frames.size(); ++i)
            printDigest(i, replay.frames[i].digest, "\n");
        return 0;
    }
    const bool headless = options.check || options.dump;
    if (headless)
        setenv("SDL_VIDEODRIVER", "dummy", 1);   // no window, and no sound device below
    chooseWindowScaling(options.scale);
    if (!initialise(options.fullscreen, !headless))
        return EXIT_NO_SCREEN;
    TileList tiles;
    int status = loadGame(tiles);
    FrameLoop loop;
    int volume = DEFAULT_VOLUME;
    settingsLocked = true;   // a replay never saves, not even when its run ends
    if (status == 0 && !headless) {
        loadSettings();   // the viewer's volume
        volume = settings.volume;
        soundVolume(volume);
        keepViewerVolume(true);
        beforeFlip = drawReplayLabel;
    }
    if (status == 0 && courseChecksum(tiles) != replay.courseChecksum) {
        std::printf("Quindara: %s was recorded on another course.\n", path.c_str());
        status = EXIT_NO_SCREEN;
    } else if (status == 0 && !restoreSnapshot(replay.snapshot, loop)) {
        std::printf("Quindara: %s: damaged (its starting state does not fit this game).\n",
                    path.c_str());
        status = EXIT_NO_SCREEN;
    }
    if (status != 0) {
        shutdown(tiles, false);
        return status;
    }

    mode = MODE_PLAYING;
    playing = &replay;
    skipWaits = headless;
    setSoundLogging(true);
    std::srand(replay.seed);
    size_t differs = replay.frames.size();
    std::string groups;
    for (playIndex = 0; playIndex < replay.frames.size(); ++playIndex) {
        if (!headless && !viewerKeys(volume))
            break;
        const bool quit = runFrame(loop, tiles);
        const ReplayFrame& recorded = replay.frames[playIndex];
        if (options.dump)
            printDigest(playIndex, playedDigest,
                        playedDigest == recorded.digest ? "\n" : " (recorded differs)\n");
        if (differs == replay.frames.size() && (!(playedDigest == recorded.digest) || quit != recorded.quit)) {
            differs = playIndex;
            groups = quit != recorded.quit ? "state" : differingGroups(playedDigest, recorded.digest);
            if (options.check)
                break;
        }
        if (quit)
            break;
    }
    mode = MODE_OFF;
    playing = nullptr;
    beforeFlip = nullptr;
    const int finalScore = score;
    shutdown(tiles, false);
    if (options.check) {
        if (differs < replay.frames.size()) {
            std::printf("%zu frames, score %d: frame %zu differs (%s)\n", replay.frames.size(),
                        finalScore, differs, groups.c_str());
            return EXIT_REPLAY_DIFFERS;
        }
        std::printf("%zu frames, score %d: ok\n", replay.frames.size(), finalScore);
    }
    return 0;
}
