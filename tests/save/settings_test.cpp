#include "app/session.h"
#include "platform/file_replace.h"
#include "rules/game_state.h"
#include "save/preferences.h"
#include "save/settings.h"
#include "state/game.h"
#include "support/stage.h"
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
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
    resetEveryRoom();
    settingsFile.settings = Settings();
    loadSettings();
    return {settingsFile.settings.highScore, settingsFile.settings.volume};
}
} // namespace

TEST(Settings, MissingFileIsCreatedWithDefaults)
{
    StagedResources stage;
    resetEveryRoom();
    settingsFile.settings = Settings();
    loadSettings();
    EXPECT_EQ(settingsFile.settings.highScore, 0);
    EXPECT_EQ(settingsFile.settings.volume, 75);
    EXPECT_EQ(stage.read("config.dat"), bytesOf(0, 75));
}

TEST(Settings, StoredValuesAreCheckedAgainstTheirRanges)
{
    StagedResources stage;
    struct Case {
        int32_t high, volume, wantHigh, wantVolume;
    } cases[] = {
        {28915599, 128, 28915599, 128},
        {28915600, 129, 0, 75},
        {-1, -1, 0, 75},
        {4321, 0, 4321, 0},
        {0, 75, 0, 75},
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
    resetEveryRoom();
    settingsFile.settings.highScore = 0x01020304;
    settingsFile.settings.volume = 128;
    ASSERT_TRUE(saveSettings());
    const std::string bytes = stage.read("config.dat");
    ASSERT_EQ(bytes.size(), 8u);
    EXPECT_EQ(bytes[0], 0x04);
    EXPECT_EQ(bytes[3], 0x01);
    settingsFile.settings.highScore = 0;
    settingsFile.settings.volume = 0;
    loadSettings();
    EXPECT_EQ(settingsFile.settings.highScore, 0x01020304);
    EXPECT_EQ(settingsFile.settings.volume, 128);
    EXPECT_FALSE(stage.exists("config.dat.new"));
}

TEST(Settings, AnInterruptedSaveLeavesTheOldFileIntact)
{
    StagedResources stage;
    stage.write("config.dat", bytesOf(5000, 60));
    resetEveryRoom();
    settingsFile.settings.highScore = 7000;
    settingsFile.settings.volume = 10;
    // The process dies after writing the new bytes but before they replace the old file.
    ASSERT_TRUE(writeSettingsFile(stage.path("config.dat.new")));
    EXPECT_FALSE(writeSettingsFile("/dev/full")); // a write that fails is never a save
    EXPECT_EQ(stage.read("config.dat"), bytesOf(5000, 60));
    // The next start reads the old file, undamaged.
    settingsFile.settings.highScore = 0;
    settingsFile.settings.volume = 0;
    loadSettings();
    EXPECT_EQ(settingsFile.settings.highScore, 5000);
    EXPECT_EQ(settingsFile.settings.volume, 60);
}

// Two copies of the game at once: whichever saves last, the higher high score stays, at this
// copy's next save too (its quit after its run). One copy alone saves what it holds, a contact
// penalty's lowering included; no temporary file stays.
TEST(Settings, AnotherCopysHigherScoreIsNeverLowered)
{
    StagedResources stage;
    struct Case {
        int32_t stored, otherSaves, ours, kept, keptNext; // otherSaves -1: no other copy
    } cases[] = {{1000, 4016, 4772, 4772, 4771},
                 {1000, 4772, 4016, 4772, 4772},
                 {5000, -1, 4900, 4900, 4899},
                 {5000, 5000, 4900, 5000, 5000}};
    for (const Case& c : cases) {
        resetEveryRoom();
        stage.write("config.dat", bytesOf(c.stored, 60));
        loadSettings();
        if (c.otherSaves >= 0)
            stage.write("config.dat", bytesOf(c.otherSaves, 90));
        settingsFile.settings.highScore = c.ours;
        settingsFile.settings.volume = 33;
        ASSERT_TRUE(saveSettings());
        EXPECT_EQ(stage.read("config.dat"), bytesOf(c.kept, 33)) << c.otherSaves;
        settingsFile.settings.highScore = c.ours - 1; // this copy's own score, lowered by a penalty
        ASSERT_TRUE(saveSettings());
        EXPECT_EQ(stage.read("config.dat"), bytesOf(c.keptNext, 33)) << c.otherSaves;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(stage.path("")), {}), 1);
    }
}

// A copy stopped while it holds the folder's lock never freezes another: the save waits a
// little, saves all the same and says so once.
TEST(Settings, ASaveDoesNotWaitForeverForAnotherCopysLock)
{
    StagedResources stage;
    resetEveryRoom();
    const FolderLock other(stage.path(""), 0);
    ASSERT_TRUE(other.held());
    testing::internal::CaptureStderr();
    for (int32_t high : {10, 20}) {
        settingsFile.settings.highScore = high;
        ASSERT_TRUE(saveSettings());
        EXPECT_EQ(stage.read("config.dat"), bytesOf(high, 0));
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "Quindara: another copy of the game keeps _resources locked; saving "
                    "without waiting for it.\n");
}

// What a killed save left (its temporary file, never renamed) goes at the next start, and
// nothing else does; not while another copy may be saving.
TEST(Settings, AKilledSavesLeftoversGoAtTheNextStart)
{
    StagedResources stage;
    const char* leftovers[] = {"config.dat.Ab12Cd", "last-run.qrp.XYZ123", "best-run.qrp.000aaa"};
    const char* kept[] = {"config.dat",       "config.dat.new",      "config.dat.Ab12Cd7",
                          "other.qrp.abcdef", "last-run.qrp.ab-cd1", "config.datXabcdef"};
    for (const bool otherCopySaving : {true, false}) {
        for (const char* name : leftovers)
            stage.write(name, "x");
        for (const char* name : kept)
            stage.write(name, "x");
        std::optional<FolderLock> other;
        if (otherCopySaving)
            other.emplace(stage.path(""), 0);
        enterSession(false);
        for (const char* name : leftovers)
            EXPECT_EQ(stage.exists(name), otherCopySaving) << name;
        for (const char* name : kept)
            EXPECT_TRUE(stage.exists(name)) << name;
    }
}

// A first start on a full disk leaves no settings file behind, so the next start, with room
// again, gets the defaults (and its sound) and saves them.
TEST(Settings, AFullDiskLeavesNoFileBehind)
{
    StagedResources stage;
    const std::string disk = stage.dir() + "/disk";
    mkdir(disk.c_str(), 0755);
    if (std::system(("mount -t tmpfs -o size=4k tmpfs " + disk + " 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    std::ofstream(disk + "/filler") << std::string(4096, 'x');
    for (const bool full : {true, false}) {
        resetEveryRoom();
        settingsFile.settingsPath = disk + "/config.dat";
        testing::internal::CaptureStderr();
        loadSettings();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(settingsFile.settings.volume, DEFAULT_VOLUME);
        EXPECT_EQ(std::filesystem::exists(settingsFile.settingsPath), !full);
        EXPECT_EQ(said.find("cannot save the settings") != std::string::npos, full) << said;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk), {}), 1); // no temporary
        std::filesystem::remove(disk + "/filler");
    }
    std::system(("umount " + disk).c_str());
}

// A settings folder that cannot be one is named as such, not as a file that cannot be read.
TEST(Settings, AFileWhereTheFolderShouldBeIsNamed)
{
    StagedResources stage;
    resetEveryRoom();
    settingsFile.settingsPath = stage.path("config.dat/quindara/config.dat");
    stage.write("config.dat", "not a folder");
    testing::internal::CaptureStderr();
    loadSettings();
    EXPECT_EQ(
        testing::internal::GetCapturedStderr(),
        "Quindara: cannot use " + stage.path("config.dat/quindara") +
            " as the settings folder (Not a directory); playing with the default settings.\n");
    EXPECT_EQ(settingsFile.settings.volume, DEFAULT_VOLUME);
    EXPECT_FALSE(saveSettings());
}

// Where the folder refuses the temporary file the 8 bytes go in place; a link is saved
// through; only a file that cannot be written at all fails the save.
TEST(Settings, SavesFallBackToWritingInPlaceAndFollowLinks)
{
    StagedResources stage;
    struct Case {
        const char* obstacle; // made at config.dat.new, or a link or folder at config.dat
        bool saved;
        const char* written;
    } cases[] = {{"temporary is a folder", true, "config.dat"},
                 {"link", true, "real.dat"},
                 {"dangling link", true, "later.dat"},
                 {"file is a folder", false, nullptr}};
    for (const Case& c : cases) {
        std::filesystem::remove_all(stage.path("config.dat"));
        std::filesystem::remove_all(stage.path("config.dat.new"));
        const std::string kind = c.obstacle;
        if (kind == "temporary is a folder") {
            stage.write("config.dat", bytesOf(42, 99));
            mkdir(stage.path("config.dat.new").c_str(), 0755);
        } else if (kind == "file is a folder") {
            mkdir(stage.path("config.dat").c_str(), 0755);
        } else {
            stage.write("real.dat", bytesOf(42, 99));
            symlink(c.written, stage.path("config.dat").c_str());
        }
        resetEveryRoom();
        settingsFile.settings.highScore = 1234;
        settingsFile.settings.volume = 56;
        EXPECT_EQ(saveSettings(), c.saved) << kind;
        if (c.written) {
            EXPECT_EQ(stage.read(c.written), bytesOf(1234, 56)) << kind;
        }
        EXPECT_EQ(std::filesystem::is_symlink(stage.path("config.dat")),
                  kind.find("link") != kind.npos);
    }
}

// As a player without root (a child process as `nobody`): the settings live where they can
// be written, and a file that cannot be read is never replaced.
TEST(Settings, PermissionsDecideWhereTheSettingsLiveAndNothingIsLost)
{
    StagedResources stage;
    const std::string home = stage.dir() + "/home", perUser = "/.local/share/quindara/config.dat";
    struct Case {
        mode_t folder, file, home; // file 01000: no file beside the game
        bool beside;               // the settings live beside the game, not in the home
        const char* loaded;
        bool saved;
    } cases[] = {
        {0555, 01000, 0755, false, "0 75", true},  // read-only resources
        {0555, 0666, 0755, true, "500 60", true},  // ... with a writable file: saved in place
        {0555, 01000, 0555, false, "0 75", false}, // nothing writable
        {0755, 0222, 0755, true, "0 75", false},   // write-only file: never saved over
        {0755, 0000, 0755, false, "0 75", true},   // unreadable, unwritable: left alone
    };
    // An installed copy: $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
    EXPECT_EQ(chooseSettingsPath(true, "/x/data", "/home/p"), "/x/data/quindara/config.dat");
    EXPECT_EQ(chooseSettingsPath(true, "data", "/home/p"),
              "/home/p/.local/share/quindara/config.dat");
    chmod(stage.dir().c_str(), 0755);
    for (const Case& c : cases) {
        std::filesystem::remove_all(home);
        mkdir(home.c_str(), c.home);
        chown(home.c_str(), 65534, 65534);
        chmod(stage.path("").c_str(), 0755);
        stage.remove("config.dat");
        if (c.file != 01000) {
            stage.write("config.dat", bytesOf(500, 60));
            chmod(stage.path("config.dat").c_str(), c.file);
        }
        chmod(stage.path("").c_str(), c.folder);
        int report[2];
        ASSERT_EQ(pipe(report), 0);
        const pid_t child = fork();
        if (child == 0) {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                _exit(3);
            resetEveryRoom();
            settingsFile.settingsPath = chooseSettingsPath(false, "", home);
            loadSettings();
            const std::string loaded = std::to_string(settingsFile.settings.highScore) + " " +
                                       std::to_string(settingsFile.settings.volume);
            settingsFile.settings.highScore = 777;
            game.masterVolume = 33;
            const std::string r = settingsFile.settingsPath + "|" + loaded + "|" +
                                  (saveCurrentSettings() ? "saved" : "not saved");
            _exit(write(report[1], r.data(), r.size()) < 0);
        }
        close(report[1]);
        char buffer[512] = {};
        read(report[0], buffer, sizeof buffer - 1);
        close(report[0]);
        waitpid(child, nullptr, 0);
        const std::string where = c.beside ? SETTINGS_PATH : home + perUser;
        EXPECT_EQ(std::string(buffer),
                  where + "|" + c.loaded + "|" + (c.saved ? "saved" : "not saved"));
        chmod(stage.path("").c_str(), 0755);
        if (c.saved) {
            EXPECT_EQ(stage.read(c.beside ? "config.dat" : "../home" + perUser), bytesOf(777, 33));
        }
        if (c.file != 01000 && c.file != 0666) { // untouched, byte for byte
            EXPECT_EQ(stage.read("config.dat"), bytesOf(500, 60)) << c.file;
        }
    }
}

// The preferences file: what is written reads back; a file with anything the game did not write
// (a value out of range, two actions on one key, a word it does not know) gives the defaults,
// and is kept aside once, said on one line.
TEST(Preferences, RoundTripAndADamagedFileFallsBackToTheDefaults)
{
    StagedResources stage;
    resetEveryRoom();
    Preferences p;
    p.musicOn = false, p.musicVolume = 128, p.ghostOn = false, p.windowScale = 8;
    p.keys[KEY_ACTION_ACCELERATE] = 'a';
    Preferences back;
    ASSERT_TRUE(parsePreferences(preferencesText(p), back));
    EXPECT_EQ(preferencesText(back), preferencesText(p));
    const std::string good = preferencesText(Preferences());
    for (const std::string& bad :
         {std::string("music-volume 129\n"), std::string("window-scale 9\n"),
          std::string("key brake 273\n"), std::string("pad brake 0\n"),
          std::string("music maybe\n"), std::string("sound on\n"), std::string("pad quit 11\n"),
          std::string("key accelerate 324\n"), std::string("ghost off now\n")}) {
        EXPECT_FALSE(parsePreferences(good + bad, back)) << bad;
        stage.write("preferences", good + bad);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(loadPreferences()) << bad;
        EXPECT_NE(testing::internal::GetCapturedStderr().find("default preferences"),
                  std::string::npos);
        EXPECT_EQ(preferencesText(preferences), good);
        EXPECT_TRUE(stage.exists("preferences.damaged")) << bad;
        stage.remove("preferences.damaged");
    }
    for (const std::string& fine : {std::string("music-volume 128\n"), std::string("key brake 1\n"),
                                    std::string("pad quit 8\n"), std::string("pad brake 7\n"),
                                    std::string("window-scale 8\n"), std::string("# a note\n")})
        EXPECT_TRUE(parsePreferences(good + fine, back)) << fine;
    stage.remove("preferences");
    EXPECT_TRUE(loadPreferences()); // none yet: the defaults, nothing said
}
