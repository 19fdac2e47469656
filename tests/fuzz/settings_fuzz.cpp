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
    highScore = 0;
    loadSettings();
    if (highScore < 0 || highScore > MAX_STORED_HIGH_SCORE || settings.volume < 0 ||
        settings.volume > 128)
        std::abort();
    return 0;
}
