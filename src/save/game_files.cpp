#include "save/game_files.h"
#include "platform/file_replace.h"
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool readGameFile(const std::string& path, size_t limit, std::string& bytes, std::string& why)
{
    bytes.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info;
    if (fd < 0 || fstat(fd, &info) != 0) {
        why = errno == ENOENT ? "missing" : std::strerror(errno);
        if (fd >= 0)
            close(fd);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        close(fd);
        why = "not a plain file";
        return false;
    }
    char buffer[65536];
    ssize_t n = 0;
    while (bytes.size() <= limit &&
           ((n = read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)))
        if (n > 0)
            bytes.append(buffer, size_t(n));
    const bool whole = n == 0;
    const int failure = errno;
    close(fd);
    if (bytes.size() > limit) {
        why = "larger than " + std::to_string(limit) + " bytes";
        return false;
    }
    if (!whole)
        why = std::strerror(failure);
    return whole;
}

std::string keepDamagedCopy(const std::string& path)
{
    for (int n = 1; n < 1000; ++n) {
        const std::string aside = path + ".damaged" + (n == 1 ? "" : "." + std::to_string(n));
        struct stat info;
        if (lstat(aside.c_str(), &info) == 0)
            continue; // an earlier copy: kept as it is
        return std::rename(path.c_str(), aside.c_str()) == 0 ? aside : "";
    }
    return "";
}

namespace
{
// "NAME.XXXXXX" as mkstemp makes it from a file the game writes: six letters or digits after
// the name and its dot.
bool isLeftover(const std::string& entry)
{
    if (entry.size() < 8 || entry[entry.size() - 7] != '.')
        return false;
    for (size_t i = entry.size() - 6; i < entry.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(entry[i])))
            return false;
    const std::string name = entry.substr(0, entry.size() - 7);
    auto endsWith = [&](const char* tail) {
        const size_t n = std::strlen(tail);
        return name.size() >= n && name.compare(name.size() - n, n, tail) == 0;
    };
    return name == "config.dat" || name == "course" || name == "preferences" ||
           name == "scores.txt" || (name.compare(0, 8, "best-run") == 0 && endsWith(".qrp")) ||
           name == "last-run.qrp";
}
} // namespace

int cleanLeftovers(const std::string& folder)
{
    const FolderLock lock(folder, 0); // another copy saving now: its files are not leftovers
    DIR* dir = lock.held() ? opendir(folder.c_str()) : nullptr;
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = readdir(dir))
        if (isLeftover(entry->d_name) && unlink((folder + "/" + entry->d_name).c_str()) == 0)
            ++removed;
    closedir(dir);
    return removed;
}

std::string bestRunFile(const std::string& courseName, bool firstCourse)
{
    if (firstCourse)
        return "best-run.qrp";
    std::string slug;
    for (char c : courseName) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u)) {
            slug += static_cast<char>(std::tolower(u));
        } else if (c == ' ') {
            slug += '-';
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "_%02x", u);
            slug += hex;
        }
    }
    return "best-run-" + slug + ".qrp";
}
