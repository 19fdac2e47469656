#include "app/play.h"
#include "app/watch.h"
#include "shell/exit_status.h"
#include "shell/options.h"
#include <cstdio>

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0); // each message reaches a log or pipe as it is said
    Options options;
    switch (parseOptions(argc, argv, options)) {
    case OPTIONS_HELP:
        std::fputs(usageText(), stdout);
        return 0;
    case OPTIONS_VERSION:
        std::puts(VERSION_LINE);
        return 0;
    case OPTIONS_BAD:
        std::fputs(usageText(), stderr);
        return EXIT_USAGE;
    default:
        return options.replay.empty() ? playGame(options) : watchReplay(options);
    }
}
