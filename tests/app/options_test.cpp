#include "app/options.h"
#include "support/stage.h"
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <vector>

TEST(Options, TheCommandLineIsReadStrictly)
{
    struct Case {
        std::vector<const char*> args;
        OptionsResult result;
        bool fullscreen;
        int scale;
    } cases[] = {
        {{}, OPTIONS_RUN, false, 0},
        {{"--fullscreen"}, OPTIONS_RUN, true, 0},
        {{"--scale", "1"}, OPTIONS_RUN, false, 1},
        {{"--scale=8", "--fullscreen"}, OPTIONS_RUN, true, 8},
        {{"--scale", "0"}, OPTIONS_BAD, false, 0},
        {{"--scale", "9"}, OPTIONS_BAD, false, 0},
        {{"--scale", "22"}, OPTIONS_BAD, false, 0},
        {{"--scale"}, OPTIONS_BAD, false, 0},
        {{"--version"}, OPTIONS_VERSION, false, 0},
        {{"--fullscreen", "--help"}, OPTIONS_HELP, true, 0},
        {{"fullscreen"}, OPTIONS_BAD, false, 0},
        {{"--replay", "--check"}, OPTIONS_BAD, false, 0}, // an option is no file name
        {{"--replay", "-check", "--check"}, OPTIONS_RUN, false, 0},
        {{"--check"}, OPTIONS_BAD, false, 0}, // checking, dumping: things done to a replay
        {{"--replay", "x", "--dump", "--recorded"}, OPTIONS_RUN, false, 0},
        {{"--replay", "x", "--check", "--recorded"}, OPTIONS_BAD, false, 0},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv = {"quindara"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Options options;
        EXPECT_EQ(parseOptions(int(argv.size()), argv.data(), options), c.result) << c.args.size();
        EXPECT_EQ(options.fullscreen, c.fullscreen);
        EXPECT_EQ(options.scale, c.result == OPTIONS_BAD ? options.scale : c.scale);
    }
}

// A refused command line says in one line what was wrong, whatever else it asks for.
TEST(Options, ARefusedCommandLineSaysWhatWasWrong)
{
    const std::pair<std::vector<const char*>, std::string> refused[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--version", "extra"}, "unexpected 'extra'"},
        {{"--help", "--bogus"}, "unknown option '--bogus'"},
        {{"--scale", "--fullscreen"}, "--scale takes a whole number from 1 to 8"},
        {{"--replay"}, "--replay takes a replay file, or last, best or table:N"},
        {{"--dump"}, "--dump goes with --replay"},
        {{"--replay", "x", "--check", "--dump"}, "--check and --dump do not go together"},
        {{"--replay", "x", "--recorded"}, "--recorded goes with --dump"},
        {{"--ghost", "table:11"}, "--ghost table:N takes a place from 1 to 10"},
        {{"--replay", "table:0"}, "--replay table:N takes a place from 1 to 10"},
        {{"--import", "x", "--course", "y"}, "--import goes alone"},
        {{"--ghost", "off", "--replay", "x"},
         "--ghost goes with playing, not with --replay (a run shows the ghost it raced)"},
    };
    for (const auto& [args, problem] : refused) {
        std::vector<const char*> argv = {"quindara"};
        argv.insert(argv.end(), args.begin(), args.end());
        Options options;
        EXPECT_EQ(parseOptions(int(argv.size()), argv.data(), options), OPTIONS_BAD) << problem;
        EXPECT_EQ(options.problem, problem);
    }
}

// The manual page a package installs names every option the help does.
TEST(Options, TheManualPageNamesEveryOptionOfTheHelp)
{
    std::ifstream in(sourceDir() + "/data/debian/quindara.6.in");
    const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(page.empty());
    const std::string help = usageText();
    const std::regex option("--([a-z]+)");
    int named = 0;
    for (auto m = std::sregex_iterator(help.begin(), help.end(), option);
         m != std::sregex_iterator(); ++m, ++named)
        EXPECT_NE(page.find("\\-\\-" + (*m)[1].str()), std::string::npos) << (*m)[0];
    EXPECT_GE(named, 8);
    // The help names the keys too; the page says where the recorded runs go.
    for (const char* key : {"Return", "Up", "Down", "Left", "Right", "Shift", "F11", "Escape"})
        EXPECT_NE(help.find(key), std::string::npos) << key;
    EXPECT_GT(page.find("Every run is recorded"), page.find(".SH FILES"));
}
