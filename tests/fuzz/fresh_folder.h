#pragma once
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

// Each fuzzer writes its input where the game reads it: a private folder with _resources.
inline void enterFreshFolder()
{
    char folder[] = "/tmp/quindara-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0 || mkdir("_resources", 0755) != 0)
        std::abort();
}
