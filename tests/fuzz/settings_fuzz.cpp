// Any bytes as the settings file: read into values within their ranges. The same bytes as the
// table of best runs: refused, or read into entries that are written back as they were read.
#include "fresh_folder.h"
#include "save/score_table.h"
#include "save/settings.h"
#include "state/game.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
    settingsFile.settings.highScore = 0;
    loadSettings();
    if (settingsFile.settings.highScore < 0 ||
        settingsFile.settings.highScore > MAX_STORED_HIGH_SCORE ||
        settingsFile.settings.volume < 0 || settingsFile.settings.volume > 128)
        std::abort();
    std::vector<TableEntry> entries, again;
    parseTables(std::string(reinterpret_cast<const char*>(data), size), entries);
    if (parseTables(tablesText(entries), again) != 0 || tablesText(again) != tablesText(entries))
        std::abort();
    return 0;
}
