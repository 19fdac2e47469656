#pragma once
#include "platform/gamepad.h"
#include "platform/window.h"
#include <string>

// The actions a player can give a key of their own, and the keys the game starts with.
enum KeyAction {
    KEY_ACTION_ACCELERATE,
    KEY_ACTION_BRAKE,
    KEY_ACTION_LEFT,
    KEY_ACTION_RIGHT,
    KEY_ACTION_START,
    KEY_ACTION_VOLUME_UP,
    KEY_ACTION_VOLUME_DOWN,
    KEY_ACTION_DIAGNOSTICS,
    KEY_ACTION_FULL_SCREEN,
    KEY_ACTION_QUIT,
    KEY_ACTIONS
};
extern const int DEFAULT_KEYS[KEY_ACTIONS];
extern const char* const KEY_ACTION_NAMES[KEY_ACTIONS];
extern const char* const PAD_ROLE_NAMES[PAD_ROLES];
constexpr int DEFAULT_MUSIC_VOLUME = 80; // under the effects
constexpr int MAX_WINDOW_SCALE = 8;

// What the settings screen sets, beside the 8-byte settings file: kept in "preferences" in the
// settings folder, a line a setting ("music on", "key accelerate 273"), written whole under the
// folder's lock as every file of the game is.
struct Preferences {
    bool musicOn = true;
    int musicVolume = DEFAULT_MUSIC_VOLUME; // 0..128
    bool ghostOn = true;
    int windowScale = 0; // 1..8, 0 for the game's own choice
    bool fullScreen = false;
    int keys[KEY_ACTIONS] = {};
    int padButtons[PAD_ROLES] = {}; // the pad's own button for each role

    Preferences();
};
extern Preferences preferences;

// Reads the file. A missing one gives the defaults; a damaged one (a line that is no setting,
// a value out of range, a key given twice) gives the defaults too, and is kept aside as
// "preferences.damaged" (said once). False when it was damaged.
bool loadPreferences();
// Writes the file; false when it could not be (a save that is off, a locked folder).
bool savePreferences();
// The text of the file, and back: false when the text is not a sound set of preferences.
std::string preferencesText(const Preferences& p);
bool parsePreferences(const std::string& text, Preferences& p);
// The action another than `action` already has `key`, or -1; the same for the pad's buttons.
int actionWithKey(const Preferences& p, int key, int action);
int roleWithPadButton(const Preferences& p, int button, int role);
