#include "shell/settings.h"
#include "shell/game.h"
#include <cstdio>
#include <unistd.h>

const char* const SETTINGS_PATH = "_resources/config.dat";
Settings settings;

namespace {
void putLittleEndian(unsigned char* out, int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<unsigned char>(v >> (8 * i));
}

int32_t getLittleEndian(const unsigned char* in)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(in[i]) << (8 * i);
    return static_cast<int32_t>(v);
}
}  // namespace

bool writeSettingsFile(const std::string& path)
{
    unsigned char bytes[8];
    putLittleEndian(bytes, highScore);
    putLittleEndian(bytes + 4, settings.volume);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

bool saveSettings()
{
    const std::string temporary = std::string(SETTINGS_PATH) + ".new";
    if (!writeSettingsFile(temporary) || std::rename(temporary.c_str(), SETTINGS_PATH) != 0) {
        std::remove(temporary.c_str());
        return false;   // the old file, if any, stays as it was
    }
    return true;
}

void loadSettings()
{
    std::FILE* file = std::fopen(SETTINGS_PATH, "rb");
    if (file) {
        // A short file fills only the leading bytes; the rest keep their start-up zeros.
        unsigned char bytes[8] = {};
        unsigned char start[8];
        putLittleEndian(start, highScore);
        putLittleEndian(start + 4, settings.volume);
        const size_t got = std::fread(bytes, 1, sizeof bytes, file);
        for (size_t i = got; i < sizeof bytes; ++i)
            bytes[i] = start[i];
        std::fclose(file);
        highScore = getLittleEndian(bytes);
        settings.volume = getLittleEndian(bytes + 4);
    } else {
        settings.volume = DEFAULT_VOLUME;
        saveSettings();
    }
    if (static_cast<uint32_t>(highScore) > static_cast<uint32_t>(MAX_STORED_HIGH_SCORE))
        highScore = 0;
    if (static_cast<uint32_t>(settings.volume) > 128u)
        settings.volume = DEFAULT_VOLUME;
}
