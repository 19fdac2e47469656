#include "save/settings.h"
#include "platform/file_replace.h"
#include "platform/folders.h"
#include "save/game_files.h"
#include "state/game.h"
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

const char* const SETTINGS_PATH = "_resources/config.dat";
SettingsFile settingsFile;

namespace
{

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

void currentBytes(unsigned char bytes[8])
{
    putLittleEndian(bytes, settingsFile.settings.highScore);
    putLittleEndian(bytes + 4, settingsFile.settings.volume);
}

// The file a save must change: the target of a symbolic link, not the link. `dangling` is
// set for a link to a file that does not exist yet, which only a write through it creates.
std::string resolvedTarget(const std::string& path, bool& dangling)
{
    char real[PATH_MAX];
    struct stat info;
    dangling = false;
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    if (realpath(path.c_str(), real))
        return real;
    dangling = true;
    return path;
}

void remember(const unsigned char bytes[8])
{
    std::memcpy(settingsFile.lastKnown, bytes, sizeof settingsFile.lastKnown);
    settingsFile.lastKnownValid = true;
}

// The 8 bytes of a plain settings file; false when there is no such file to read.
bool readStored(const std::string& path, unsigned char bytes[8])
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info;
    const bool ok =
        fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && pread(fd, bytes, 8, 0) == 8;
    if (fd >= 0)
        close(fd);
    return ok;
}

// The bytes a save writes: this copy's, except that the high score never goes below the
// best that another copy has saved since this one started (seen now, where the file no longer
// holds what this copy last read or wrote, or at an earlier save).
void bytesToSave(const std::string& target, unsigned char bytes[8])
{
    currentBytes(bytes);
    unsigned char stored[8];
    if (readStored(target, stored) &&
        !(settingsFile.lastKnownValid && std::memcmp(stored, settingsFile.lastKnown, 8) == 0)) {
        const int32_t theirs = getLittleEndian(stored);
        if (theirs > settingsFile.othersBest && theirs <= MAX_STORED_HIGH_SCORE)
            settingsFile.othersBest = theirs;
    }
    if (settingsFile.othersBest > settingsFile.settings.highScore)
        putLittleEndian(bytes, settingsFile.othersBest);
}

// Overwrites the bytes where they are, for a file whose folder takes no new files. Only a
// link the player made to a file not there yet has its file created; a failed write puts
// back what was there.
bool writeInPlace(const std::string& path, const unsigned char bytes[8], bool create)
{
    const int fd = open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0644);
    struct stat info;
    if (fd < 0)
        return false;
    unsigned char before[8] = {};
    const bool plain = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const ssize_t kept = plain ? pread(fd, before, sizeof before, 0) : -1;
    bool ok = kept >= 0 && pwrite(fd, bytes, 8, 0) == 8 && ftruncate(fd, 8) == 0 && fsync(fd) == 0;
    if (!ok && kept >= 0 && pwrite(fd, before, size_t(kept), 0) == kept) {
        // Back to what was there, as far as it goes.
        if (ftruncate(fd, info.st_size) == 0)
            fsync(fd);
    }
    ok = close(fd) == 0 && ok;
    return ok;
}

} // namespace

std::string chooseSettingsPath(bool installed, const std::string& xdgDataHome,
                               const std::string& home)
{
    const std::string folder = playerDataFolder(xdgDataHome, home);
    const std::string perUser = folder.empty() ? "" : folder + "/config.dat";
    if (!installed) {
        if (access(SETTINGS_PATH, F_OK) == 0) {
            if (access(SETTINGS_PATH, W_OK) == 0 || perUser.empty())
                return SETTINGS_PATH;
            std::fprintf(stderr, "Quindara: %s cannot be written; the settings are kept in %s.\n",
                         SETTINGS_PATH, perUser.c_str());
            return perUser;
        }
        if (access("_resources", W_OK) == 0)
            return SETTINGS_PATH;
    }
    return perUser.empty() ? SETTINGS_PATH : perUser;
}

bool writeSettingsFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    unsigned char bytes[8];
    currentBytes(bytes);
    return writeAndClose(fd, bytes, 8);
}

bool saveSettings()
{
    if (settingsFile.settingsLocked || settingsFile.savesDisabled)
        return false; // a file we could not read is never replaced by defaults
    bool dangling = false;
    const std::string target = resolvedTarget(settingsFile.settingsPath, dangling);
    makeFolders(folderOf(target));
    const FolderLock lock(folderOf(target), SAVE_LOCK_WAIT_MS);
    if (!lock.held() && !settingsFile.lockWaitReported) {
        settingsFile.lockWaitReported = true;
        std::fprintf(stderr,
                     "Quindara: another copy of the game keeps %s locked; saving without "
                     "waiting for it.\n",
                     folderOf(target).c_str());
    }
    unsigned char bytes[8];
    bytesToSave(target, bytes);
    if (!dangling && replaceFile(target, bytes, 8)) {
        remember(bytes);
        return true;
    }
    // The folder refuses new files, or the rename failed: the file itself may still take
    // its 8 bytes.
    const int failure = errno;
    if (writeInPlace(target, bytes, dangling)) {
        remember(bytes);
        return true;
    }
    if (!settingsFile.saveFailureReported)
        std::fprintf(stderr, "Quindara: cannot save the settings to %s (%s); the game plays on.\n",
                     target.c_str(), std::strerror(errno == ENOENT ? failure : errno));
    settingsFile.saveFailureReported = true;
    return false;
}

void resetSettingsState()
{
    settingsFile = SettingsFile();
}

void locateSettings(bool installed)
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    settingsFile.settingsPath = chooseSettingsPath(installed, xdg ? xdg : "", home ? home : "");
}

std::string settingsFolder()
{
    return folderOf(settingsFile.settingsPath);
}

bool saveCurrentSettings()
{
    settingsFile.settings.volume = game.masterVolume;
    return saveSettings();
}

namespace
{
// Opens a file for reading without ever waiting on it: a FIFO or a device where the file
// should be is refused (EINVAL) instead of blocking the game's start.
std::FILE* openRegularFile(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info;
    if (fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        return fdopen(fd, "rb");
    if (fd >= 0) {
        close(fd);
        errno = EINVAL;
    }
    return nullptr;
}
} // namespace

void loadSettings()
{
    std::FILE* file = openRegularFile(settingsFile.settingsPath);
    if (file) {
        // A short file fills only the leading bytes; the rest keep their start-up zeros.
        unsigned char bytes[8] = {};
        unsigned char start[8];
        currentBytes(start);
        const size_t got = std::fread(bytes, 1, sizeof bytes, file);
        if (got == sizeof bytes)
            remember(bytes);
        for (size_t i = got; i < sizeof bytes; ++i)
            bytes[i] = start[i];
        std::fclose(file);
        settingsFile.settings.highScore = getLittleEndian(bytes);
        settingsFile.settings.volume = getLittleEndian(bytes + 4);
    } else if (errno == ENOENT) {
        settingsFile.settings.volume = DEFAULT_VOLUME;
        saveSettings();
    } else if (errno == ENOTDIR || errno == ENAMETOOLONG) {
        // Not a file that cannot be read: a folder that cannot be one.
        std::fprintf(stderr,
                     "Quindara: cannot use %s as the settings folder (%s); playing with the "
                     "default settings.\n",
                     settingsFolder().c_str(), std::strerror(errno));
        settingsFile.settingsLocked = true;
        settingsFile.settings.volume = DEFAULT_VOLUME;
    } else {
        std::fprintf(stderr,
                     "Quindara: cannot read %s (%s); playing with the default settings and "
                     "leaving the file as it is.\n",
                     settingsFile.settingsPath.c_str(), std::strerror(errno));
        settingsFile.settingsLocked = true;
        settingsFile.settings.volume = DEFAULT_VOLUME;
    }
    if (static_cast<uint32_t>(settingsFile.settings.highScore) >
        static_cast<uint32_t>(MAX_STORED_HIGH_SCORE))
        settingsFile.settings.highScore = 0;
    if (static_cast<uint32_t>(settingsFile.settings.volume) > 128u)
        settingsFile.settings.volume = DEFAULT_VOLUME;
}

std::string rememberedCourse()
{
    std::string text, why;
    if (!readGameFile(settingsFolder() + "/course", 4096, text, why))
        return "";
    const std::string name = text.substr(0, text.find('\n'));
    return name.size() <= 64 ? name : "";
}

void rememberCourse(const std::string& name)
{
    if (settingsFile.savesDisabled || settingsFile.settingsLocked)
        return;
    const std::string text = name + "\n";
    const FolderLock lock(settingsFolder(), SAVE_LOCK_WAIT_MS);
    replaceFile(settingsFolder() + "/course", text.data(), text.size());
}
