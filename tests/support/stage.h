#pragma once
#include "app/session.h"
#include "pilot.h"
#include "present/intro.h"
#include "private_copy.h"
#include "rules/loop.h"
#include "track/level.h"
#include <SDL.h>
#include <initializer_list>
#include <string>
#include <vector>

// A test's private copy of the built resources (see PrivateCopy): only the files it names,
// "*" for all of them (a test that loads the assets or runs the game), none for a test of the
// settings alone.
class StagedResources
{
  public:
    explicit StagedResources(const std::vector<std::string>& files = {});
    const std::string& dir() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + "/_resources/" + name; }
    void remove(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

  private:
    PrivateCopy copy_;
    std::string dir_;
};

// Every built resource: for a test that loads the assets or runs the game.
extern const std::vector<std::string> ALL_RESOURCES;

// SDL brought up as the game does (headless drivers come from the test environment), with
// the virtual clock and every game variable at its start-up value. Assets are loaded from
// the staged folder when asked.
class Headless
{
  public:
    explicit Headless(bool withAssets = false);
    ~Headless();
};

// The game's executable run from a staged copy (copied beside the staged resources) with the
// root folder as its working directory, headless unless `env` (shell assignments, "NAME=" to
// clear) says otherwise, under a one-minute watchdog. With `signal` set, the signal is sent
// once the game has said its first line (standard error then comes with standard output).
struct Finished {
    int status = -1;
    std::string out, err;
};
Finished runStagedGame(const StagedResources& stage, const std::string& env,
                       const std::string& args = "", int signal = 0);

std::string resourcesDir();
std::string sourceDir();
std::string gameExecutable();

// Tiles from rows of eight codes, top row first; sets levelTileCount to match.
TileList makeTiles(std::initializer_list<std::vector<int>> rows);
// The first course, with the list of every course found as the game finds them.
TileList loadCourse();
// Starts the frame loop, runs the first attract frame, then presses Return and runs the
// frame that starts a new game.
void startRun(FrameLoop& loop, TileList& tiles);

// The scripted driver set to race: looking closer, steering harder, passing wider.
Pilot racer();

void pushKey(int sym, bool down);
void pushButton(int button, bool down);
void tapKey(int sym);
// Reads the screen pixel at (x, y) as 8-bit RGB.
SDL_Color pixelAt(int x, int y);
bool samePixel(SDL_Color a, SDL_Color b);
// Counts screen pixels in a rectangle that are not exactly `background`.
int pixelsDifferingFrom(SDL_Color background, int x, int y, int w, int h);
