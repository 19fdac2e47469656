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

// Holds a folder locked while this copy of the game reads and writes its files there, so two
// copies saving at once take turns. Another copy's lock is waited for `waitMs` at most (a copy
// stopped in the middle of a save must never freeze this one): `held()` then says false, and
// the caller goes on without it.
class FolderLock
{
  public:
    FolderLock(const std::string& folder, int waitMs);
    ~FolderLock();
    bool held() const { return held_; }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

  private:
    int fd_ = -1;
    bool held_ = false;
};
// How long a save waits for another copy's lock.
constexpr int SAVE_LOCK_WAIT_MS = 3000;

// The folder a file lies in ("." for a bare name).
std::string folderOf(const std::string& file);
