#include "platform/file_replace.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

bool writeAndClose(int fd, const void* bytes, size_t size)
{
    const char* at = static_cast<const char*>(bytes);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, at + done, size - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    const bool written = done == size && fsync(fd) == 0;
    return close(fd) == 0 && written;
}

bool replaceFile(const std::string& target, const void* bytes, size_t size)
{
    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return false;
    if ((fchmod(fd, 0644) == 0 ? writeAndClose(fd, bytes, size) : (close(fd), false)) &&
        std::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    const int failure = errno;
    std::remove(temporary.c_str());
    errno = failure;
    return false;
}

FolderLock::FolderLock(const std::string& folder, int waitMs)
{
    fd_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    const timespec pause = {0, 10 * 1000 * 1000};
    for (int waited = 0;; waited += 10) {
        held_ = flock(fd_, LOCK_EX | LOCK_NB) == 0;
        if (held_ || errno != EWOULDBLOCK || waited >= waitMs)
            return;
        nanosleep(&pause, nullptr);
    }
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        close(fd_); // and with it the lock
}

std::string folderOf(const std::string& file)
{
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
}
