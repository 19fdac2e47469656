#pragma once
#include <cstddef>
#include <string>

// Files the game writes whole (its settings, its recorded runs), so that a crash, a full disk
// or a second copy of the game never leaves one half written.

// Writes all of the bytes to an open file, makes them durable and closes it: a failed write
// or close is a failure.
bool writeAndClose(int fd, const void* bytes, size_t size);
// Puts the bytes in place of `target` at once: written to a new file beside it, under a name
// no other copy of the game uses, then renamed over it. False when that could not be done;
// nothing is then left behind, and errno says why.
bool replaceFile(const std::string& target, const void* bytes, size_t size);
