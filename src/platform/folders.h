#pragma once
#include <string>

// Where the game finds its resources and whether it is an installed copy.

// The folder whose _resources the game plays from: the program's own, or for an installed
// package its data folder.
std::string dataFolderFor(const std::string& programFolder);
// Makes that folder the working directory, so "_resources/..." is found whatever folder the
// game was started from.
void enterProgramFolder();
// The player's own data folder: $XDG_DATA_HOME/quindara when that is an absolute path, else
// ~/.local/share/quindara; empty when neither is set. Empty strings stand for unset
// variables; without arguments, the environment's.
std::string playerDataFolder(const std::string& xdgDataHome, const std::string& home);
std::string playerDataFolder();
// Creates the folder and any above it that are missing (the per-user data folder on a first
// save, the folder of kept runs).
void makeFolders(const std::string& folder);
// A plain file (not a folder, a FIFO or a device) is at this path.
bool isPlainFile(const std::string& path);
// Present in the resources of an installed copy (make install or the package).
extern const char* const INSTALLED_MARKER;
bool isInstalledCopy();
