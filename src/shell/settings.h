#pragma once
#include <cstdint>
#include <string>

constexpr int32_t MAX_STORED_HIGH_SCORE = 28915599;
constexpr int32_t DEFAULT_VOLUME = 75;
extern const char* const SETTINGS_PATH;

// The 8 stored bytes: the high score (the live `highScore`) and the volume.
struct Settings {
    int32_t volume = 0;
};
extern Settings settings;

void loadSettings();
// Replaces the file as a whole: a save cut short never leaves a truncated file.
bool saveSettings();
// First half of a save: the 8 bytes written to `path`. False if it could not be written.
bool writeSettingsFile(const std::string& path);
