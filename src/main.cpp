#include "app/check_course.h"
#include "app/import_run.h"
#include "app/options.h"
#include "app/play.h"
#include "app/watch.h"
#include "platform/exit_status.h"
#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 0); // each message reaches a log or pipe as it is said
    Options options;
    int status = 0;
    switch (parseOptions(argc, argv, options)) {
    case OPTIONS_HELP:
        std::fputs(usageText(), stdout);
        break;
    case OPTIONS_VERSION:
        std::puts(VERSION_LINE);
        break;
    case OPTIONS_BAD:
        std::fprintf(stderr, "Quindara: %s.\n%s", options.problem.c_str(), usageText());
        return EXIT_USAGE;
    default:
        status = !options.checkCourse.empty() ? checkCourseFile(options.checkCourse)
                 : !options.importRun.empty() ? importRun(options)
                 : options.replay.empty()     ? playGame(options)
                                              : watchReplay(options);
    }
    // What was said and could not be written (a full disk, a closed pipe) is no success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "Quindara: cannot write to standard output (%s).\n",
                     std::strerror(errno));
        return status == 0 ? EXIT_OUTPUT_FAILED : status;
    }
    return status;
}
