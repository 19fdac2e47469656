// Any bytes as the settings file: read into values within their ranges.
#include "fresh_folder.h"
#include "rules/settings.h"
#include "state/game.h"
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    enterFreshFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(SETTINGS_PATH, "wb");
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    resetSettingsState();
    game.highScore = 0;
    loadSettings();
    if (game.highScore < 0 || game.highScore > MAX_STORED_HIGH_SCORE ||
        settingsFile.settings.volume < 0 || settingsFile.settings.volume > 128)
        std::abort();
    return 0;
}
