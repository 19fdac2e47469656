#pragma once
#include "save/preferences.h"
#include <string>

// The settings screen, opened from attract: a line a setting, the one at the cursor changed with
// Left and Right (a pad's d-pad), a key given anew with Return (A) then the new key. Every change
// applies at once and is kept.
enum SettingLine {
    LINE_EFFECTS_VOLUME,
    LINE_MUSIC,
    LINE_MUSIC_VOLUME,
    LINE_GHOST,
    LINE_WINDOW_SCALE,
    LINE_FULL_SCREEN,
    LINE_FIRST_KEY,                                // then one line for each KeyAction
    LINE_FIRST_PAD = LINE_FIRST_KEY + KEY_ACTIONS, // then one for each PadRole
    LINE_RESET = LINE_FIRST_PAD + PAD_ROLES,
    SETTING_LINES
};

struct SettingsMenu {
    int cursor = 0;
    bool awaitingKey = false; // "press the new key" for the key line at the cursor
    bool awaitingPad = false; // the same for a pad line: a button pressed once all are let go
    bool padReleased = false;
    std::string message; // why a key was refused, or what was done
    bool closed = false;
};

// A key pressed on the screen (its symbol): Up and Down move, Left and Right change, Return acts
// (a key line then waits for the new key: Escape keeps the old one), Escape closes.
void settingsKey(SettingsMenu& menu, int sym);
// A pad's button, as the game numbers them: the d-pad as the arrows, A as Return, B and Back
// close (B, while a key is awaited, keeps the old one).
void settingsButton(SettingsMenu& menu, int button);
// Each pass of the screen's loop: the pad's own button held now (-1 none), taken as the new
// button of the pad line at the cursor once every button was let go after Return (A).
void settingsPad(SettingsMenu& menu, int held);
// What a line says: its name and its value.
std::string settingLabel(int line);
std::string settingValue(int line);
// A key's name as a player reads it ("up", "left shift", "a").
std::string keyName(int sym);
// What the screen shows of the menu.
struct SettingsPicture;
SettingsPicture settingsPicture(const SettingsMenu& menu);
// The screen, between frames in attract: until it is closed, or the player asks to quit (false).
bool openSettingsScreen();
