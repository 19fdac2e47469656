#include "shell/game.h"
#include "shell/settings.h"
#include "support/stage.h"
#include <gtest/gtest.h>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
std::string bytesOf(int32_t a, int32_t b)
{
    std::string s(8, '\0');
    for (int i = 0; i < 4; ++i) {
        s[i] = char(uint32_t(a) >> (8 * i));
        s[4 + i] = char(uint32_t(b) >> (8 * i));
    }
    return s;
}

struct Loaded {
    int32_t high;
    int32_t volume;
};

Loaded loadFrom(const StagedResources& stage, const std::string& bytes)
{
    stage.write("config.dat", bytes);
    resetGameVariables();
    settings = Settings();
    loadSettings();
    return {highScore, settings.volume};
}
}  // namespace

TEST(Settings, MissingFileIsCreatedWithDefaults)
{
    StagedResources stage;
    resetGameVariables();
    settings = Settings();
    loadSettings();
    EXPECT_EQ(highScore, 0);
    EXPECT_EQ(settings.volume, 75);
    EXPECT_EQ(stage.read("config.dat"), bytesOf(0, 75));
}

TEST(Settings, StoredValuesAreCheckedAgainstTheirRanges)
{
    StagedResources stage;
    struct Case {
        int32_t high, volume, wantHigh, wantVolume;
    } cases[] = {
        {28915599, 128, 28915599, 128}, {28915600, 129, 0, 75}, {-1, -1, 0, 75},
        {4321, 0, 4321, 0},             {0, 75, 0, 75},
    };
    for (const Case& c : cases) {
        const Loaded got = loadFrom(stage, bytesOf(c.high, c.volume));
        EXPECT_EQ(got.high, c.wantHigh) << c.high;
        EXPECT_EQ(got.volume, c.wantVolume) << c.volume;
    }
}

TEST(Settings, ShortFilesFillOnlyTheirLeadingBytes)
{
    StagedResources stage;
    EXPECT_EQ(loadFrom(stage, "").volume, 0);
    EXPECT_EQ(loadFrom(stage, "").high, 0);
    const Loaded four = loadFrom(stage, bytesOf(900, 0).substr(0, 4));
    EXPECT_EQ(four.high, 900);
    EXPECT_EQ(four.volume, 0);
    const Loaded six = loadFrom(stage, bytesOf(1, 100).substr(0, 6));
    EXPECT_EQ(six.volume, 100);
}

TEST(Settings, SaveRoundTripsLittleEndian)
{
    StagedResources stage;
    resetGameVariables();
    highScore = 0x01020304;
    settings.volume = 128;
    ASSERT_TRUE(saveSettings());
    const std::string bytes = stage.read("config.dat");
    ASSERT_EQ(bytes.size(), 8u);
    EXPECT_EQ(bytes[0], 0x04);
    EXPECT_EQ(bytes[3], 0x01);
    highScore = 0;
    settings.volume = 0;
    loadSettings();
    EXPECT_EQ(highScore, 0x01020304);
    EXPECT_EQ(settings.volume, 128);
    EXPECT_FALSE(stage.exists("config.dat.new"));
}

TEST(Settings, AnInterruptedSaveLeavesTheOldFileIntact)
{
    StagedResources stage;
    stage.write("config.dat", bytesOf(5000, 60));
    resetGameVariables();
    highScore = 7000;
    settings.volume = 10;
    // The process dies after writing the new bytes but before they replace the old file.
    ASSERT_TRUE(writeSettingsFile(stage.path("config.dat.new")));
    EXPECT_EQ(stage.read("config.dat"), bytesOf(5000, 60));
    // The next start reads the old file, undamaged.
    highScore = 0;
    settings.volume = 0;
    loadSettings();
    EXPECT_EQ(highScore, 5000);
    EXPECT_EQ(settings.volume, 60);
}

// Where the folder refuses the temporary file the 8 bytes go in place; a link is saved
// through; only when the file itself cannot be written does the save fail, and the file
// stays as it was.
TEST(Settings, SavesFallBackToWritingInPlaceAndFollowLinks)
{
    StagedResources stage;
    const std::string old = bytesOf(42, 99);
    struct Case {
        const char* name;
        void (*prepare)(const StagedResources&);
        bool saved;
        const char* fileRead;   // where the saved bytes must be found
    } cases[] = {
        {"temporary file refused", [](const StagedResources& s) {
             mkdir(s.path("config.dat.new").c_str(), 0755); }, true, "config.dat"},
        {"link", [](const StagedResources& s) {
             s.write("real.dat", bytesOf(42, 99));
             symlink("real.dat", s.path("config.dat").c_str()); }, true, "real.dat"},
        {"dangling link", [](const StagedResources& s) {
             symlink("later.dat", s.path("config.dat").c_str()); }, true, "later.dat"},
        {"file is a folder", [](const StagedResources& s) {
             mkdir(s.path("config.dat").c_str(), 0755); }, false, nullptr},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(stage.path("config.dat"));
        std::filesystem::remove_all(stage.path("config.dat.new"));
        stage.write("config.dat", old);
        if (std::string(c.name) != "temporary file refused")
            stage.remove("config.dat");
        c.prepare(stage);
        resetGameVariables();
        highScore = 1234;
        settings.volume = 56;
        EXPECT_EQ(saveSettings(), c.saved) << c.name;
        if (c.fileRead) {
            EXPECT_EQ(stage.read(c.fileRead), bytesOf(1234, 56)) << c.name;
            EXPECT_TRUE(std::filesystem::is_symlink(stage.path("config.dat")) ==
                        (std::string(c.fileRead) != "config.dat")) << c.name;
        }
    }
}

namespace {
// Runs `body` in a child process as the unprivileged user `nobody` (root ignores file
// permissions); returns what the child wrote to its report.
std::string asNobody(const std::function<std::string()>& body)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        const std::string report = body();
        if (write(pipeEnds[1], report.data(), report.size()) < 0)
            _exit(4);
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string report;
    char buffer[256];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, size_t(n));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return report;
}
}  // namespace

// As a player without root: the settings are read from and saved to the file that can be
// written, and a file that cannot be read is never replaced.
TEST(Settings, PermissionsDecideWhereTheSettingsLiveAndNothingIsLost)
{
    StagedResources stage;
    const std::string home = stage.dir() + "/home", perUser = "/.local/share/quindara/config.dat";
    struct Case {
        const char* name;
        mode_t folderMode, fileMode, homeMode;   // fileMode 0: no file beside the game
        const char* wantPath;   // relative to the stage; "HOME" for the per-user file
        const char* wantLoaded; // "high volume" read at start-up
        bool saved;
    } cases[] = {
        {"read-only resources, no file", 0555, 0, 0755, "HOME", "0 75", true},
        {"read-only resources, writable file", 0555, 0666, 0755, "_resources/config.dat", "500 60", true},
        {"nothing writable", 0555, 0, 0555, "HOME", "0 75", false},
        {"write-only file", 0755, 0222, 0755, "_resources/config.dat", "0 75", false},
        {"unreadable, unwritable file", 0755, 0000, 0755, "HOME", "0 75", true},
    };
    chmod(stage.dir().c_str(), 0755);
    for (const Case& c : cases) {
        std::filesystem::remove_all(home);
        mkdir(home.c_str(), 0755);
        chown(home.c_str(), 65534, 65534);
        chmod(home.c_str(), c.homeMode);
        chmod(stage.path("").c_str(), 0755);
        stage.remove("config.dat");
        if (c.fileMode) {
            stage.write("config.dat", bytesOf(500, 60));
            chmod(stage.path("config.dat").c_str(), c.fileMode);
        } else if (std::string(c.name).find("unreadable") != std::string::npos) {
            stage.write("config.dat", bytesOf(500, 60));
            chmod(stage.path("config.dat").c_str(), 0);
        }
        chmod(stage.path("").c_str(), c.folderMode);
        const std::string report = asNobody([&] {
            resetGameVariables();
            settingsPath = chooseSettingsPath(false, "", home);
            loadSettings();
            std::string r = settingsPath + "|" + std::to_string(highScore) + " " +
                            std::to_string(settings.volume);
            highScore = 777;
            masterVolume = 33;
            return r + "|" + (saveCurrentSettings() ? "saved" : "not saved");
        });
        const std::string path = std::string(c.wantPath) == "HOME" ? home + perUser : c.wantPath;
        EXPECT_EQ(report, path + "|" + c.wantLoaded + "|" + (c.saved ? "saved" : "not saved"))
            << c.name;
        chmod(stage.path("").c_str(), 0755);
        chmod(home.c_str(), 0755);
        if (c.saved)
            EXPECT_EQ(stage.read(std::string(c.wantPath) == "HOME" ? "../home" + perUser
                                                                    : "config.dat"),
                      bytesOf(777, 33)) << c.name;
        if (c.fileMode != 0666 && stage.exists("config.dat"))   // untouched, byte for byte
            EXPECT_EQ(stage.read("config.dat"), bytesOf(500, 60)) << c.name;
    }
}
