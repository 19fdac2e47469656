#include "rules/settings_screen.h"
#include "platform/clock.h"
#include "platform/gamepad.h"
#include "platform/keys.h"
#include "platform/signals.h"
#include "platform/sound.h"
#include "platform/window.h"
#include "present/render.h"
#include "rules/ghost.h"
#include "rules/input.h"
#include "save/settings.h"
#include "state/game.h"
#include <SDL.h>
#include <algorithm>
#include <cctype>

namespace
{
// Keys the game keeps for itself: never given to an action.
bool reservedKey(int sym)
{
    return sym == KEY_P || sym == KEY_LSHIFT || sym == KEY_G || sym == KEY_S ||
           (sym >= '0' && sym <= '9') || sym <= 0 || sym >= KEY_SLOTS;
}

void apply(int line)
{
    switch (line) {
    case LINE_EFFECTS_VOLUME:
        soundVolume(game.masterVolume);
        break;
    case LINE_MUSIC:
    case LINE_MUSIC_VOLUME:
        musicVolume(preferences.musicVolume);
        if (!preferences.musicOn)
            musicStop();
        break;
    case LINE_GHOST:
        if (ghostRace.switchedOn != preferences.ghostOn)
            switchGhost();
        break;
    case LINE_WINDOW_SCALE:
        setWindowScale(preferences.windowScale);
        break;
    case LINE_FIRST_PAD:
        setPadLayout(preferences.padButtons);
        break;
    case LINE_FULL_SCREEN:
        if (isFullScreen() != preferences.fullScreen)
            toggleFullScreen();
        preferences.fullScreen = isFullScreen(); // where it cannot be had, it says so
        break;
    default:
        break;
    }
}

void change(SettingsMenu& menu, int step)
{
    switch (menu.cursor) {
    case LINE_EFFECTS_VOLUME:
        game.masterVolume = std::clamp(game.masterVolume + 8 * step, 0, 128);
        break;
    case LINE_MUSIC:
        preferences.musicOn = !preferences.musicOn;
        break;
    case LINE_MUSIC_VOLUME:
        preferences.musicVolume = std::clamp(preferences.musicVolume + 8 * step, 0, 128);
        break;
    case LINE_GHOST:
        preferences.ghostOn = !preferences.ghostOn;
        break;
    case LINE_WINDOW_SCALE:
        preferences.windowScale = std::clamp(
            (preferences.windowScale ? preferences.windowScale : DEFAULT_WINDOW_SCALE) + step, 1,
            MAX_WINDOW_SCALE);
        break;
    case LINE_FULL_SCREEN:
        preferences.fullScreen = !isFullScreen();
        break;
    default:
        return;
    }
    apply(menu.cursor);
    savePreferences();
}

void act(SettingsMenu& menu)
{
    if (menu.cursor >= LINE_FIRST_KEY && menu.cursor < LINE_FIRST_PAD) {
        menu.awaitingKey = true;
        menu.message = "press the new key (Escape keeps it)";
    } else if (menu.cursor >= LINE_FIRST_PAD && menu.cursor < LINE_RESET) {
        menu.awaitingPad = true;
        menu.padReleased = false;
        menu.message = "press the pad's new button (Escape keeps it)";
    } else if (menu.cursor == LINE_RESET) {
        preferences = Preferences();
        game.masterVolume = DEFAULT_VOLUME;
        for (int line = 0; line <= LINE_FIRST_PAD; ++line)
            apply(line);
        savePreferences();
        menu.message = "everything as the game came";
    } else {
        change(menu, 1);
    }
}

void giveKey(SettingsMenu& menu, int sym)
{
    menu.awaitingKey = false;
    const int action = menu.cursor - LINE_FIRST_KEY;
    if (sym == KEY_ESCAPE) {
        menu.message = "";
        return;
    }
    const int other = actionWithKey(preferences, sym, action);
    if (reservedKey(sym))
        menu.message = keyName(sym) + " is the game's own: not that one";
    else if (other >= 0)
        menu.message = keyName(sym) + " is taken: it is " + KEY_ACTION_NAMES[other];
    else {
        preferences.keys[action] = sym;
        savePreferences();
        menu.message = "";
    }
}
} // namespace

void settingsPad(SettingsMenu& menu, int held)
{
    if (!menu.awaitingPad)
        return;
    if (held < 0) {
        menu.padReleased = true;
        return;
    }
    if (!menu.padReleased)
        return;
    menu.awaitingPad = false;
    const int role = menu.cursor - LINE_FIRST_PAD,
              other = roleWithPadButton(preferences, held, role);
    if (other >= 0) {
        menu.message =
            std::string(padButtonName(held)) + " is taken: it is " + PAD_ROLE_NAMES[other];
        return;
    }
    preferences.padButtons[role] = held;
    apply(LINE_FIRST_PAD);
    savePreferences();
    menu.message = "";
}

void settingsKey(SettingsMenu& menu, int sym)
{
    if (menu.awaitingKey)
        return giveKey(menu, sym);
    if (menu.awaitingPad) {
        if (sym == KEY_ESCAPE)
            menu.awaitingPad = false, menu.message = "";
        return;
    }
    menu.message = "";
    if (sym == KEY_ESCAPE)
        menu.closed = true;
    else if (sym == KEY_UP || sym == KEY_DOWN)
        menu.cursor = (menu.cursor + (sym == KEY_UP ? SETTING_LINES - 1 : 1)) % SETTING_LINES;
    else if (sym == KEY_LEFT || sym == KEY_RIGHT)
        change(menu, sym == KEY_LEFT ? -1 : 1);
    else if (sym == KEY_RETURN)
        act(menu);
}

void settingsButton(SettingsMenu& menu, int button)
{
    if (menu.awaitingPad)
        return; // the new button is read from the pad itself
    if (menu.awaitingKey) {
        if (button == BUTTON_BRAKE || button == BUTTON_QUIT)
            giveKey(menu, KEY_ESCAPE);
        return;
    }
    const int asKey = button == BUTTON_UP                               ? KEY_UP
                      : button == BUTTON_DOWN                           ? KEY_DOWN
                      : button == BUTTON_LEFT                           ? KEY_LEFT
                      : button == BUTTON_RIGHT                          ? KEY_RIGHT
                      : button == BUTTON_ACCELERATE                     ? KEY_RETURN
                      : button == BUTTON_QUIT || button == BUTTON_BRAKE ? KEY_ESCAPE
                                                                        : 0;
    if (asKey)
        settingsKey(menu, asKey);
}

std::string keyName(int sym)
{
    const char* name = SDL_GetKeyName(static_cast<SDLKey>(sym));
    return name && *name ? name : "key " + std::to_string(sym);
}

std::string settingLabel(int line)
{
    static const char* const LABELS[LINE_FIRST_KEY] = {
        "effects volume", "music", "music volume", "ghost", "window scale", "full screen"};
    if (line < LINE_FIRST_KEY)
        return LABELS[line];
    if (line < LINE_FIRST_PAD)
        return KEY_ACTION_NAMES[line - LINE_FIRST_KEY];
    if (line < LINE_RESET)
        return PAD_ROLE_NAMES[line - LINE_FIRST_PAD];
    return "back to the defaults";
}

std::string settingValue(int line)
{
    switch (line) {
    case LINE_EFFECTS_VOLUME:
        return std::to_string(game.masterVolume);
    case LINE_MUSIC:
        return preferences.musicOn ? "on" : "off";
    case LINE_MUSIC_VOLUME:
        return std::to_string(preferences.musicVolume);
    case LINE_GHOST:
        return preferences.ghostOn ? "on" : "off";
    case LINE_WINDOW_SCALE:
        return std::to_string(preferences.windowScale ? preferences.windowScale
                                                      : DEFAULT_WINDOW_SCALE) +
               "x";
    case LINE_FULL_SCREEN:
        return isFullScreen() ? "on" : "off";
    case LINE_RESET:
        return "";
    default:
        return line >= LINE_FIRST_PAD ? padButtonName(preferences.padButtons[line - LINE_FIRST_PAD])
                                      : keyName(preferences.keys[line - LINE_FIRST_KEY]);
    }
}

SettingsPicture settingsPicture(const SettingsMenu& menu)
{
    SettingsPicture picture;
    picture.cursor = menu.cursor;
    picture.awaitingKey = menu.awaitingKey || menu.awaitingPad;
    picture.message = menu.message;
    picture.closing = std::string("Escape, or the pad's ") +
                      padButtonName(preferences.padButtons[PAD_ROLE_BRAKE]) + " or " +
                      padButtonName(preferences.padButtons[PAD_ROLE_QUIT]) + ", closes";
    picture.keysFrom = LINE_FIRST_KEY, picture.padFrom = LINE_FIRST_PAD;
    picture.resetLine = LINE_RESET;
    for (int line = 0; line < SETTING_LINES; ++line)
        picture.lines.push_back({settingLabel(line), settingValue(line),
                                 line == LINE_EFFECTS_VOLUME ? game.masterVolume
                                 : line == LINE_MUSIC_VOLUME ? preferences.musicVolume
                                                             : -1});
    return picture;
}

bool openSettingsScreen()
{
    SettingsMenu menu;
    bool quit = false;
    while (!menu.closed && !quit) {
        pollGamepad();
        SDL_Event event;
        while (!menu.closed && takeQueuedEvent(event, false)) {
            if (event.type == SDL_KEYDOWN)
                settingsKey(menu, static_cast<int>(keySymbolOf(event)));
            else if (event.type == SDL_JOYBUTTONDOWN)
                settingsButton(menu, event.jbutton.button);
            else
                takeRelease(event);
        }
        settingsPad(menu, padButtonHeld());
        quit = quitSignalled();
        drawSettingsScreen(settingsPicture(menu));
        delayMs(19);
    }
    return !quit;
}
