#include "shell/game.h"
#include "shell/settings.h"
#include "support/stage.h"
#include <gtest/gtest.h>
#include <sys/stat.h>

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

TEST(Settings, AFailedSaveReportsFailureAndKeepsTheFile)
{
    StagedResources stage;
    stage.write("config.dat", bytesOf(42, 99));
    // A folder where the temporary file should go makes the write fail, even as root.
    ASSERT_EQ(mkdir(stage.path("config.dat.new").c_str(), 0755), 0);
    resetGameVariables();
    highScore = 1;
    settings.volume = 2;
    EXPECT_FALSE(saveSettings());
    EXPECT_EQ(stage.read("config.dat"), bytesOf(42, 99));
}
