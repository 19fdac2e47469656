#pragma once
#include <string>

// Where the game finds its resources and whether it is an installed copy.

// The folder whose _resources the game plays from: the program's own, or for an installed
// package its data folder.
std::string dataFolderFor(const std::string& programFolder);
// Makes that folder the working directory, so "_resources/..." is found whatever folder the
// game was started from.
void enterProgramFolder();
// Present in the resources of an installed copy (make install or the package).
extern const char* const INSTALLED_MARKER;
bool isInstalledCopy();
