#pragma once
#include "platform/state_visitor.h"
#include "state/game.h"
#include <cstdint>
#include <string>

struct SDL_Surface;
struct Mix_Chunk;

enum CarKind { CAR_PLAYER = 0, CAR_TRAFFIC = 1 };
enum CarState { CAR_DRIVING = 0, CAR_CRASHED = 1, CAR_SKIDDING = 3, CAR_ON_GRAVEL = 4 };

constexpr int CAR_WIDTH = 30;
constexpr int CAR_HEIGHT = 40;
constexpr int ENGINE_LEVELS = 20;  // engine samples 1..20
constexpr int SPIN_STEPS = 5;      // crash pictures 1..5
constexpr int TRAFFIC_COLOURS = 4; // blue, yellow, green, purple
// CAR_SPEED_LIMIT bounds how fast a car goes; only a steering key held for a long time takes
// the sideways speed further, a step every second frame.
constexpr int LATERAL_SPEED_LIMIT = SESSION_FRAMES / 2;

// Crash pictures of one spin step, in load order.
enum CrashView { CRASH_UP_CW = 0, CRASH_DOWN_CW = 1, CRASH_UP_CCW = 2, CRASH_DOWN_CCW = 3 };

struct EngineSample {
    Mix_Chunk* plain = nullptr;
    Mix_Chunk* echo = nullptr;
};

struct SpritePair {
    SDL_Surface* first = nullptr;
    SDL_Surface* second = nullptr;
};

// One car: the player's red car and the single traffic car share this record. It refers to
// pictures and samples owned by the asset catalogue and never frees them.
struct Car {
    int x = 40;
    int y = 190;
    int screenY = 200;
    int lateralSpeed = 0;
    int speed = 0;
    int drift = 0;
    int trafficSpeed = 0;
    std::string frameAPath;
    std::string frameBPath;
    int maxSpeed = 20;
    int speedStep = 1;
    int kind = CAR_PLAYER;
    int state = CAR_DRIVING;
    int offRoadDrag = 2;
    bool headlightsOn = false;
    SDL_Surface* frameA = nullptr;
    SDL_Surface* frameB = nullptr;
    SpritePair colourFrames[TRAFFIC_COLOURS];
    SDL_Surface* darkFrame = nullptr;
    SDL_Surface* headlightImage = nullptr;
    SDL_Surface* scratchA = nullptr;
    SDL_Surface* scratchB = nullptr;
    bool animPhase = false;
    bool steeredDiagonally = false;
    bool throttleHeld = false;
    int nextColour = 0;
    int nextLane = 0;
    int nextTopSpeed = 0;
    bool respawnPending = false;
    bool passSoundPlayed = false;
    bool echoLatch11 = false;
    bool echoLatch10 = false;
    EngineSample engineSounds[ENGINE_LEVELS + 1]; // index = level, 0 unused
    Mix_Chunk* passSound = nullptr;
    Mix_Chunk* crashSound = nullptr;
    Mix_Chunk* skidSound = nullptr;
    Mix_Chunk* gravelSound = nullptr;
    int lastChannel = 1;
    int engineChannel = 1;
    bool engineLevelLatched[22] = {};
    int engineLevel = 0;
    SDL_Surface* crashFrames[SPIN_STEPS + 1][4] = {}; // index = spin step, 0 unused
};

extern Car playerCar;
extern Car trafficCar;

// Restores both records as constructed (tests and start-up).
void resetCars();
void visitCars(StateVisitor& v);

bool setKind(Car& car, int k);
void setX(Car& car, int v);
void setY(Car& car, int v);
void setDrift(Car& car, int v);
void setSpeed(Car& car, int v);
void setMaxSpeed(Car& car, int v);
inline int getX(const Car& car)
{
    return car.x;
}
inline int getY(const Car& car)
{
    return car.y;
}
inline int getScreenY(const Car& car)
{
    return car.screenY;
}
inline int getSpeed(const Car& car)
{
    return car.speed;
}
inline int getState(const Car& car)
{
    return car.state;
}
inline bool getHeadlightsOn(const Car& car)
{
    return car.headlightsOn;
}

// Forgets the car's sprite references; the pictures belong to the asset catalogue.
void resetCar(Car& car);
// Clears every engine-level latch except `keep` (-1 clears them all).
void clearEngineLatches(int keep, bool latches[22]);
