#include "present/assets.h"
#include "platform/sound.h"
#include "present/text.h"
#include "sim/contact.h"
#include "sim/markers.h"
#include "state/game.h"
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

SDL_Surface* trackTileImages[TILE_PICTURES + 1];
SDL_Surface* panelImage = nullptr;
SDL_Surface* panelMaskImage = nullptr;
SDL_Surface* panelFaceImage = nullptr;
SDL_Surface* ghostCarImage = nullptr;
SDL_Surface* warnFunnelImage = nullptr;
SDL_Surface* warnOpenImage = nullptr;
Mix_Chunk* coinSound = nullptr;
Mix_Chunk* idleEngineSound = nullptr;
TTF_Font* smallFont = nullptr;
TTF_Font* mediumFont = nullptr;
TTF_Font* ledFont = nullptr;

namespace
{
const std::string RES = "_resources";

std::string twoDigits(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// What loadAssets was given to keep a loading screen moving.
void (*loadingProgress)() = nullptr;

void advanceLoading()
{
    if (loadingProgress)
        loadingProgress();
}
} // namespace

namespace
{
// Whether any pixel of a picture in the screen's format is the key colour.
bool holdsColour(SDL_Surface* picture, Uint32 key)
{
    const int bytes = picture->format->BytesPerPixel;
    bool found = false;
    SDL_LockSurface(picture);
    for (int y = 0; y < picture->h && !found; ++y) {
        const auto* row = static_cast<const Uint8*>(picture->pixels) + y * picture->pitch;
        for (int x = 0; x < picture->w && !found; ++x) {
            Uint32 value = 0;
            std::memcpy(&value, row + x * bytes, bytes);
            found = value == key;
        }
    }
    SDL_UnlockSurface(picture);
    return found;
}
} // namespace

SDL_Surface* convertPicture(SDL_Surface* raw, bool keyed)
{
    if (!raw || !screen)
        return nullptr;
    SDL_Surface* converted = SDL_ConvertSurface(raw, screen->format, SDL_HWSURFACE);
    if (!converted || !keyed)
        return converted;
    // Only a picture with see-through pixels is copied with the key: an opaque one (a road
    // tile) is copied whole, several times faster, and shows the same.
    const Uint32 key = SDL_MapRGB(converted->format, 255, 0, 255);
    if (holdsColour(converted, key))
        SDL_SetColorKey(converted, SDL_SRCCOLORKEY, key);
    return converted;
}

SDL_Surface* loadPicture(const std::string& path)
{
    SDL_Surface* raw = IMG_Load(path.c_str());
    if (!raw) {
        std::fprintf(stderr, "Could not read picture %s\n", path.c_str());
        return nullptr;
    }
    SDL_Surface* converted = convertPicture(raw, true);
    SDL_FreeSurface(raw);
    if (!converted)
        std::fprintf(stderr, "Could not convert picture %s\n", path.c_str());
    return converted;
}

Mix_Chunk* loadSample(const std::string& path)
{
    return soundLoad(path.c_str());
}

void openFonts(int smallSize)
{
    const std::string face = RES + "/arial.ttf";
    smallFont = TTF_OpenFont(face.c_str(), smallSize & 0xff);
    mediumFont = TTF_OpenFont(face.c_str(), 16);
    ledFont = TTF_OpenFont((RES + "/led.ttf").c_str(), 18);
}

void closeFonts()
{
    forgetRenderedText();
    for (TTF_Font** font : {&smallFont, &mediumFont, &ledFont}) {
        if (*font)
            TTF_CloseFont(*font);
        *font = nullptr;
    }
}

bool loadCarAssets(Car& car, const std::string& pathA, const std::string& pathB, SDL_Surface*)
{
    const bool ok = !pathA.empty() && !pathB.empty();
    if (ok) {
        car.frameAPath = pathA;
        car.frameBPath = pathB;
        if (car.frameA)
            SDL_FreeSurface(car.frameA);
        if (car.frameB && car.frameB != car.frameA)
            SDL_FreeSurface(car.frameB);
        car.frameA = car.frameB = nullptr;
        // The frames as read pass through the car's two scratch slots.
        car.scratchA = IMG_Load(pathA.c_str());
        car.scratchB = IMG_Load(pathB.c_str());
        if (!car.scratchA)
            std::fprintf(stderr, "Could not read picture %s\n", pathA.c_str());
        if (!car.scratchB)
            std::fprintf(stderr, "Could not read picture %s\n", pathB.c_str());
        car.frameA = convertPicture(car.scratchA, true);
        car.frameB = convertPicture(car.scratchB, true);
        for (SDL_Surface** scratch : {&car.scratchA, &car.scratchB}) {
            if (*scratch)
                SDL_FreeSurface(*scratch);
            *scratch = nullptr;
        }
    }
    advanceLoading();

    if (ok && car.kind == CAR_PLAYER) {
        const std::string sound = RES + "/sound/";
        for (int n = 1; n <= ENGINE_LEVELS; ++n) {
            if (n >= 2)
                advanceLoading();
            car.engineSounds[n].plain = loadSample(sound + twoDigits(n) + ".wav");
            car.engineSounds[n].echo = loadSample(sound + twoDigits(n) + "e.wav");
        }
        car.passSound = loadSample(sound + "othrcar1.wav");
        car.crashSound = loadSample(sound + "explode.wav");
        car.skidSound = loadSample(sound + "skid.wav");
        car.gravelSound = loadSample(sound + "gravelv2.wav");
        car.headlightImage = loadPicture(RES + "/bmpImgCarHeadLight.bmp");
        static const char* const views[4] = {"Up_CW", "Down_CW", "Up_CCW", "Down_CCW"};
        for (int k = 1; k <= SPIN_STEPS; ++k) {
            if (k >= 2)
                advanceLoading();
            for (int v = 0; v < 4; ++v)
                car.crashFrames[k][v] = loadPicture(RES + "/crash/bmpImgCarRed" + views[v] +
                                                    std::to_string(k) + ".bmp");
        }
        advanceLoading();
    }

    if (car.kind == CAR_TRAFFIC) {
        static const char* const colours[TRAFFIC_COLOURS] = {"Blue", "Yellow", "Green", "Purple"};
        for (int c = 0; c < TRAFFIC_COLOURS; ++c) {
            const std::string stem = RES + "/bmpImgCar" + colours[c];
            car.colourFrames[c].first = loadPicture(stem + "Up.bmp");
            car.colourFrames[c].second = loadPicture(stem + "Down.bmp");
        }
        car.darkFrame = loadPicture(RES + "/bmpImgCarDark.bmp");
    }
    return ok;
}

namespace
{
bool loadEveryAsset()
{
    checkpointSound = loadSample(RES + "/sound/checkpoint.wav");
    setKind(trafficCar, CAR_TRAFFIC);
    loadCarAssets(playerCar, RES + "/" + "bmpImgCarRedUp.bmp", RES + "/bmpImgCarRedDown.bmp",
                  screen);
    advanceLoading();
    advanceLoading();
    loadCarAssets(trafficCar, RES + "/bmpImgCarBlueUp.bmp", RES + "/bmpImgCarBlueDown.bmp", screen);
    advanceLoading();

    bool ok = true;
    for (int k = 1; k <= TILE_PICTURES; ++k) {
        trackTileImages[k] = IMG_Load((RES + "/" + twoDigits(k) + ".bmp").c_str());
        ok = ok && trackTileImages[k];
    }
    advanceLoading();
    if (!ok) {
        advanceLoading();
        return false;
    }
    for (int k = 1; k <= TILE_PICTURES; ++k) {
        SDL_Surface* raw = trackTileImages[k];
        trackTileImages[k] = convertPicture(raw, true);
        SDL_FreeSurface(raw);
    }
    advanceLoading();
    panelImage = loadPicture(RES + "/pnlMain.bmp");
    coinSound = loadSample(RES + "/sound/coinin.wav");
    signalSound = loadSample(RES + "/sound/signal1.wav");
    idleEngineSound = loadSample(RES + "/sound/01.wav");
    panelMaskImage = loadPicture(RES + "/pnlMainMSK.bmp");
    advanceLoading();
    warnFunnelImage = loadPicture(RES + "/bmpOBJ_WarnFunnel.bmp");
    warnOpenImage = loadPicture(RES + "/bmpOBJ_WarnOpen.bmp");
    advanceLoading();
    return true;
}
} // namespace

namespace
{
// The panel with its mask laid over it, as one picture: what the two show drawn one on the
// other, drawn in one copy (with the key only where both are see-through).
SDL_Surface* composePanel()
{
    SDL_Surface* under = panelImage ? panelImage : panelMaskImage;
    if (!under || !screen)
        return nullptr;
    SDL_Surface* face = SDL_ConvertSurface(under, screen->format, SDL_HWSURFACE);
    if (!face)
        return nullptr;
    SDL_SetColorKey(face, 0, 0);
    const Uint32 key = SDL_MapRGB(face->format, 255, 0, 255);
    SDL_FillRect(face, nullptr, key);
    for (SDL_Surface* layer : {panelImage, panelMaskImage})
        if (layer)
            SDL_BlitSurface(layer, nullptr, face, nullptr);
    SDL_Surface* keyed = convertPicture(face, true);
    SDL_FreeSurface(face);
    return keyed;
}
// The ghost's car: the player's, pale blue, outlined in white and see-through, so that it is
// never taken for the player's own car or for traffic.
SDL_Surface* composeGhost()
{
    SDL_Surface* car = playerCar.frameA;
    if (!car || !screen)
        return nullptr;
    SDL_Surface* ghost = SDL_ConvertSurface(car, screen->format, SDL_SWSURFACE);
    if (!ghost)
        return nullptr;
    const Uint32 key = SDL_MapRGB(ghost->format, 255, 0, 255);
    SDL_LockSurface(ghost);
    const int bpp = ghost->format->BytesPerPixel;
    auto at = [&](int x, int y) -> Uint8* {
        return static_cast<Uint8*>(ghost->pixels) + y * ghost->pitch + x * bpp;
    };
    auto get = [&](int x, int y) {
        Uint32 v = 0;
        std::memcpy(&v, at(x, y), bpp);
        return v;
    };
    auto keyed = [&](int x, int y) {
        return x < 0 || y < 0 || x >= ghost->w || y >= ghost->h || get(x, y) == key;
    };
    std::vector<Uint32> out(ghost->w * ghost->h, key);
    for (int y = 0; y < ghost->h; ++y)
        for (int x = 0; x < ghost->w; ++x) {
            if (keyed(x, y))
                continue;
            Uint8 r, g, b;
            SDL_GetRGB(get(x, y), ghost->format, &r, &g, &b);
            if (r > 200 && b > 200 && g < 80)
                continue; // the key's fringe
            const bool edge =
                keyed(x - 1, y) || keyed(x + 1, y) || keyed(x, y - 1) || keyed(x, y + 1);
            // Its shading kept (windows and tyres dark), in a pale blue-white no car wears.
            const int grey = (r + g + b) / 3;
            out[y * ghost->w + x] =
                edge ? SDL_MapRGB(ghost->format, 255, 255, 255)
                     : SDL_MapRGB(ghost->format, std::min(255, 60 + grey),
                                  std::min(255, 100 + grey), std::min(255, 170 + grey / 2));
        }
    for (int y = 0; y < ghost->h; ++y)
        for (int x = 0; x < ghost->w; ++x)
            std::memcpy(at(x, y), &out[y * ghost->w + x], bpp);
    SDL_UnlockSurface(ghost);
    SDL_SetColorKey(ghost, SDL_SRCCOLORKEY, key);
    SDL_SetAlpha(ghost, SDL_SRCALPHA, 170);
    return ghost;
}
} // namespace

bool loadAssets(void (*progress)())
{
    loadingProgress = progress;
    const bool ok = loadEveryAsset();
    loadingProgress = nullptr;
    panelFaceImage = composePanel();
    ghostCarImage = composeGhost();
    return ok;
}

void forgetAssets()
{
    for (SDL_Surface*& tile : trackTileImages)
        tile = nullptr;
    panelImage = panelMaskImage = panelFaceImage = ghostCarImage = warnFunnelImage = warnOpenImage =
        nullptr;
    coinSound = signalSound = idleEngineSound = checkpointSound = nullptr;
}
