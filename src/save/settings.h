#pragma once
#include <cstdint>
#include <string>

constexpr int32_t MAX_STORED_HIGH_SCORE = 28915599;
constexpr int32_t DEFAULT_VOLUME = 75;
// The settings file beside the game: a build, or a copy run from its folder.
extern const char* const SETTINGS_PATH;

// The 8 stored bytes: the first course's high score (the HI readout follows it while that
// course is chosen) and the volume.
struct Settings {
    int32_t highScore = 0;
    int32_t volume = 0;
};

// The settings file and what this copy knows of it.
struct SettingsFile {
    Settings settings;
    // The file the settings are read from and saved to (SETTINGS_PATH unless start-up chose).
    std::string settingsPath = SETTINGS_PATH;
    // Set when the file exists but could not be read: it is then never saved over.
    bool settingsLocked = false;
    // Set for a run that never saves, whatever happens in it (a replay being watched or
    // checked).
    bool savesDisabled = false;
    bool saveFailureReported = false;
    bool lockWaitReported = false;
    // What this copy last read from the file or wrote to it: while the file still holds it,
    // no other copy of the game has saved since.
    unsigned char lastKnown[8] = {};
    bool lastKnownValid = false;
    // The highest score another copy of the game has put in the file since this one
    // started: no save of this copy's goes below it, whatever this copy's own high score
    // does.
    int32_t othersBest = -1;
};
extern SettingsFile settingsFile;

// Where a player's settings live: beside the game when that file (or, failing that, its
// folder) can be written and the copy is not installed; otherwise the per-user data folder
// ($XDG_DATA_HOME/quindara, by default ~/.local/share/quindara). Empty strings stand for
// unset variables.
std::string chooseSettingsPath(bool installed, const std::string& xdgDataHome,
                               const std::string& home);

// Back to the start-up values: the file beside the game, nothing read yet.
void resetSettingsState();
// Chooses the settings file for this copy of the game from its install marker and the
// player's environment; sets settingsPath.
void locateSettings(bool installed);
// The folder the settings file lives in, where the run recordings go too.
std::string settingsFolder();
void loadSettings();
// Saves the 8 bytes: through a temporary file and a rename where the folder allows it,
// otherwise in place (never creating the file); a symbolic link is followed. The folder is
// locked for the read and the write (another copy's lock is waited for a few seconds at most),
// and the high score written never goes below one another copy of the game has saved since
// this one started. False when nothing could be written.
bool saveSettings();
// The same save with the volume taken from the live `masterVolume`, as at shutdown and at
// the end of every run.
bool saveCurrentSettings();
// The course chosen in the last session (the file "course" in the settings folder: one line of
// at most 64 characters, else none), and keeping it for the next.
std::string rememberedCourse();
void rememberCourse(const std::string& name);
// First half of a save: the 8 bytes written to `path`. False if it could not be written.
bool writeSettingsFile(const std::string& path);
