#include "platform/folders.h"
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

std::string dataFolderFor(const std::string& programFolder)
{
    // A build or a copy keeps _resources beside the program; the Debian package keeps the
    // program in /usr/games and its data in /usr/share/games/quindara.
    for (const char* relative : {"", "/../share/games/quindara", "/../share/quindara"}) {
        const std::string folder = programFolder + relative;
        struct stat info;
        if (stat((folder + "/_resources").c_str(), &info) == 0 && S_ISDIR(info.st_mode))
            return folder;
    }
    return programFolder;
}

std::string playerDataFolder(const std::string& xdgDataHome, const std::string& home)
{
    if (!xdgDataHome.empty() && xdgDataHome[0] == '/')
        return xdgDataHome + "/quindara";
    return home.empty() ? "" : home + "/.local/share/quindara";
}

std::string playerDataFolder()
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    return playerDataFolder(xdg ? xdg : "", home ? home : "");
}

bool isPlainFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void enterProgramFolder()
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return;
    path[n] = '\0';
    std::string folder(path);
    const size_t slash = folder.rfind('/');
    if (slash == std::string::npos)
        return;
    folder.resize(slash == 0 ? 1 : slash);
    folder = dataFolderFor(folder);
    if (chdir(folder.c_str()) != 0)
        std::fprintf(stderr, "Could not enter %s\n", folder.c_str());
}

const char* const INSTALLED_MARKER = "_resources/installed";

bool isInstalledCopy()
{
    return access(INSTALLED_MARKER, F_OK) == 0;
}

void makeFolders(const std::string& folder)
{
    for (size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1))
        mkdir(folder.substr(0, slash).c_str(), 0755);
    mkdir(folder.c_str(), 0755);
}
