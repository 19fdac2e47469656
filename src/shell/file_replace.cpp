#include "shell/file_replace.h"
#include <cerrno>
#include <cstdio>
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
