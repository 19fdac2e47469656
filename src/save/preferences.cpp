#include "save/preferences.h"
#include "platform/file_replace.h"
#include "platform/keys.h"
#include "save/game_files.h"
#include "save/settings.h"
#include <cstdio>
#include <sstream>

const int DEFAULT_KEYS[KEY_ACTIONS] = {KEY_UP, KEY_DOWN, KEY_LEFT, KEY_RIGHT, KEY_RETURN,
                                       KEY_Q,  KEY_W,    KEY_F,    KEY_F11,   KEY_ESCAPE};
const char* const KEY_ACTION_NAMES[KEY_ACTIONS] = {
    "accelerate", "brake",       "left",        "right",       "start",
    "volume-up",  "volume-down", "diagnostics", "full-screen", "quit"};

const char* const PAD_ROLE_NAMES[PAD_ROLES] = {"accelerate", "brake",       "start",
                                               "quit",       "diagnostics", "ghost",
                                               "settings",   "volume-up",   "volume-down"};

Preferences preferences;

Preferences::Preferences()
{
    for (int a = 0; a < KEY_ACTIONS; ++a)
        keys[a] = DEFAULT_KEYS[a];
    for (int r = 0; r < PAD_ROLES; ++r)
        padButtons[r] = DEFAULT_PAD_BUTTONS[r];
}

namespace
{
std::string path()
{
    return settingsFolder() + "/preferences";
}
} // namespace

std::string preferencesText(const Preferences& p)
{
    std::string text = "# Quindara preferences\n";
    text += std::string("music ") + (p.musicOn ? "on" : "off") + "\n";
    text += "music-volume " + std::to_string(p.musicVolume) + "\n";
    text += std::string("ghost ") + (p.ghostOn ? "on" : "off") + "\n";
    text += "window-scale " + std::to_string(p.windowScale) + "\n";
    text += std::string("full-screen ") + (p.fullScreen ? "on" : "off") + "\n";
    for (int a = 0; a < KEY_ACTIONS; ++a)
        text += std::string("key ") + KEY_ACTION_NAMES[a] + " " + std::to_string(p.keys[a]) + "\n";
    for (int r = 0; r < PAD_ROLES; ++r)
        text +=
            std::string("pad ") + PAD_ROLE_NAMES[r] + " " + std::to_string(p.padButtons[r]) + "\n";
    return text;
}

int actionWithKey(const Preferences& p, int key, int action)
{
    for (int a = 0; a < KEY_ACTIONS; ++a)
        if (a != action && p.keys[a] == key)
            return a;
    return -1;
}

int roleWithPadButton(const Preferences& p, int button, int role)
{
    for (int r = 0; r < PAD_ROLES; ++r)
        if (r != role && p.padButtons[r] == button)
            return r;
    return -1;
}

bool parsePreferences(const std::string& text, Preferences& out)
{
    Preferences p;
    std::istringstream lines(text);
    std::string line;
    auto onOff = [](const std::string& v, bool& to) {
        if (v != "on" && v != "off")
            return false;
        to = v == "on";
        return true;
    };
    auto number = [](const std::string& v, int low, int high, int& to) {
        if (v.empty() || v.size() > 4 || v.find_first_not_of("0123456789") != std::string::npos)
            return false;
        to = std::stoi(v);
        return to >= low && to <= high;
    };
    // "key NAME N" or "pad NAME N": the action's (or role's) key or button.
    auto binding = [&number](std::istringstream& words, const std::string& value,
                             const char* const* names, int count, int* slots, int low, int high) {
        std::string n;
        words >> n;
        for (int i = 0; i < count; ++i)
            if (value == names[i])
                return number(n, low, high, slots[i]);
        return false;
    };
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string name, value, extra;
        words >> name >> value;
        bool ok = false;
        if (name == "music")
            ok = onOff(value, p.musicOn);
        else if (name == "music-volume")
            ok = number(value, 0, 128, p.musicVolume);
        else if (name == "ghost")
            ok = onOff(value, p.ghostOn);
        else if (name == "window-scale")
            ok = number(value, 0, MAX_WINDOW_SCALE, p.windowScale);
        else if (name == "full-screen")
            ok = onOff(value, p.fullScreen);
        else if (name == "key")
            ok = binding(words, value, KEY_ACTION_NAMES, KEY_ACTIONS, p.keys, 1, KEY_SLOTS - 1);
        else if (name == "pad")
            ok = binding(words, value, PAD_ROLE_NAMES, PAD_ROLES, p.padButtons, 0, PAD_BUTTONS - 1);
        if (!ok || (words >> extra))
            return false;
    }
    for (int a = 0; a < KEY_ACTIONS; ++a)
        if (actionWithKey(p, p.keys[a], a) >= 0)
            return false; // two actions on one key
    for (int r = 0; r < PAD_ROLES; ++r)
        if (roleWithPadButton(p, p.padButtons[r], r) >= 0)
            return false;
    out = p;
    return true;
}

bool loadPreferences()
{
    std::string text, why;
    preferences = Preferences();
    if (!readGameFile(path(), 1 << 14, text, why))
        return why == "missing";
    if (parsePreferences(text, preferences))
        return true;
    preferences = Preferences();
    const std::string kept = keepDamagedCopy(path());
    std::fprintf(stderr,
                 "Quindara: %s could not be read; playing with the default preferences%s%s.\n",
                 path().c_str(), kept.empty() ? "" : ", the file kept as ", kept.c_str());
    return false;
}

bool savePreferences()
{
    if (settingsFile.savesDisabled || settingsFile.settingsLocked)
        return false;
    const std::string text = preferencesText(preferences);
    const FolderLock lock(settingsFolder(), SAVE_LOCK_WAIT_MS);
    return replaceFile(path(), text.data(), text.size());
}
