// Draws every picture and synthesises every sound of the game into the resource folder, and
// the desktop icons into their own folder.
//   makeassets OUTPUT_DIR [ICON_DIR]
#include "pixelart.h"
#include "png.h"
#include "synth.h"
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <sys/stat.h>

namespace
{

const Rgb GRASS = {62, 132, 52}, GRASS_DARK = {44, 104, 40}, ASPHALT = {92, 92, 98},
          LINE = {236, 236, 222}, KERB_RED = {206, 32, 30}, KERB_WHITE = {242, 242, 242},
          GRAVEL = {146, 136, 120}, SAND = {206, 186, 134}, WALL = {44, 44, 52},
          DARK_ROAD = {30, 30, 38}, NIGHT = {14, 30, 20}, WATER = {44, 94, 172}, BLACK = {0, 0, 0},
          WHITE = {255, 255, 255}, TYRE = {24, 24, 24}, GLASS = {60, 84, 112}, PANEL = {54, 58, 66};

// The intro picture leaves its rows from here down to the loading text and banner.
constexpr int INTRO_TEXT_BAND = 208;
constexpr int CAR_H = 40;

std::string out;
int failures = 0;

void save(const Canvas& c, const std::string& name)
{
    if (!writeBmp(c, out + "/" + name)) {
        std::fprintf(stderr, "makeassets: cannot write %s\n", name.c_str());
        ++failures;
    }
}

void saveSound(const Signal& s, const std::string& name)
{
    if (!writeWav(s, out + "/sound/" + name)) {
        std::fprintf(stderr, "makeassets: cannot write sound/%s\n", name.c_str());
        ++failures;
    }
}

// ---- road tiles, 40x40 --------------------------------------------------------------------

// A tile of one colour, speckled so it reads as a surface rather than paint.
Canvas texture(uint32_t seed, Rgb base, int amount)
{
    Canvas c(40, 40);
    Dice dice(seed);
    speckle(c, 0, 0, 40, 40, base, amount, dice);
    return c;
}

Canvas grass(uint32_t seed, Rgb base = GRASS)
{
    Canvas c = texture(seed, base, 10);
    Dice dice(seed + 100);
    for (int k = 0; k < 14; ++k) { // tufts
        const int x = dice.below(40), y = dice.below(40);
        c.set(x, y, shade(base, -28));
        c.set(x, (y + 1) % 40, shade(base, -18));
    }
    return c;
}

// Kerb stripes 8 wide at x, red and white in 5-pixel bands: 40 is a whole number of bands,
// so stacked tiles continue the pattern.
void kerb(Canvas& c, int x)
{
    for (int y = 0; y < 40; ++y)
        for (int i = 0; i < 8; ++i)
            c.set(x + i, y, ((y / 5) % 2) ? KERB_WHITE : KERB_RED);
    for (int y = 0; y < 40; ++y)
        c.set(x + (x == 0 ? 7 : 0), y, shade(((y / 5) % 2) ? KERB_WHITE : KERB_RED, -50));
}

Canvas asphalt(uint32_t seed, Rgb base, Rgb line)
{
    Canvas c = texture(seed, base, 6);
    for (int y = 0; y < 40; ++y)
        if ((y / 10) % 2 == 0) // centre dashes, 10 on and 10 off
            for (int x = 19; x <= 20; ++x)
                c.set(x, y, line);
    return c;
}

void tree(Canvas& c, float x, float y, float r, Rgb leaf)
{
    fillEllipse(c, x + 2, y + 2, r, r, shade(GRASS_DARK, -25)); // shadow
    fillEllipse(c, x, y, r, r, leaf);
    fillEllipse(c, x - r * 0.3f, y - r * 0.3f, r * 0.5f, r * 0.5f, shade(leaf, 22));
}

Canvas tile(int code)
{
    switch (code) {
    case 1:
        return grass(1);
    case 2:
        return asphalt(2, ASPHALT, LINE);
    case 3: {
        Canvas c = grass(3);
        kerb(c, 32);
        return c;
    }
    case 4: {
        Canvas c = grass(4);
        kerb(c, 0);
        return c;
    }
    case 5: {
        Canvas c = grass(5);
        tree(c, 11, 11, 8, {34, 96, 38});
        tree(c, 29, 28, 9, {40, 110, 42});
        return c;
    }
    case 6: {
        Canvas c = texture(6, SAND, 9);
        Dice dice(106);
        for (int k = 0; k < 6; ++k)
            drawLine(c, dice.below(40), dice.below(40), dice.below(40), dice.below(40),
                     shade(SAND, 14));
        return c;
    }
    case 7: {
        Canvas c = texture(7, WATER, 5);
        Dice dice(107);
        for (int y = 4; y < 40; y += 10)
            for (int x = 0; x < 40; ++x)
                if ((x + y) % 12 < 5)
                    c.set(x, y + ((x / 3) % 2), shade(WATER, 50));
        return c;
    }
    case 8: {
        Canvas c = grass(8);
        Dice dice(80);
        const Rgb petals[3] = {{240, 220, 60}, {240, 240, 250}, {220, 90, 160}};
        for (int k = 0; k < 40; ++k)
            c.set(dice.below(40), dice.below(40), petals[dice.below(3)]);
        return c;
    }
    case 9: {
        Canvas c = grass(9);
        fillRect(c, 7, 9, 27, 24, {120, 40, 34});          // barn roof
        fillRect(c, 7, 9, 27, 12, {150, 52, 42});          // sunlit half
        drawLine(c, 7, 21, 33, 21, {80, 26, 22});          // ridge
        fillRect(c, 9, 33, 23, 3, shade(GRASS_DARK, -25)); // shadow
        return c;
    }
    case 10: {
        Canvas c = texture(10, WALL, 4);
        Dice dice(110);
        for (int y = 0; y < 40; y += 10)
            drawLine(c, 0, y, 39, y, shade(WALL, -14));
        for (int y = 0; y < 40; y += 10)
            for (int x = (y / 10) % 2 ? 0 : 10; x < 40; x += 20)
                drawLine(c, x, y, x, y + 9, shade(WALL, -14));
        fillRect(c, 18, 0, 4, 40, {62, 60, 40}); // cable duct with dim lamps
        for (int y = 4; y < 40; y += 20)
            fillRect(c, 18, y, 4, 3, {170, 150, 70});
        return c;
    }
    case 11:
        return asphalt(11, DARK_ROAD, {92, 92, 84});
    case 12: {
        Canvas c = texture(12, GRAVEL, 14);
        Dice dice(112);
        for (int k = 0; k < 120; ++k) { // loose stones, lit from the top left
            const int x = dice.below(39), y = dice.below(39);
            const Rgb stone = shade(GRAVEL, dice.below(3) == 0 ? 55 : (dice.below(2) ? 25 : -40));
            c.set(x, y, shade(stone, 25));
            c.set(x + 1, y, stone);
            c.set(x, y + 1, stone);
            c.set(x + 1, y + 1, shade(stone, -35));
        }
        return c;
    }
    case 13: {
        Canvas c = grass(13);
        const float rocks[3][3] = {{10, 12, 6}, {27, 9, 4}, {22, 28, 7}};
        for (const auto& r : rocks) {
            fillEllipse(c, r[0] + 1.5f, r[1] + 1.5f, r[2], r[2] * 0.8f, shade(GRASS_DARK, -30));
            fillEllipse(c, r[0], r[1], r[2], r[2] * 0.8f, {128, 126, 120});
            fillEllipse(c, r[0] - 1.5f, r[1] - 1.5f, r[2] * 0.5f, r[2] * 0.4f, {170, 168, 160});
        }
        return c;
    }
    case 14: {
        Canvas c(40, 40, {120, 120, 128});
        Dice dice(14);
        const Rgb crowd[5] = {
            {220, 40, 40}, {240, 210, 60}, {60, 90, 220}, {240, 240, 240}, {40, 160, 70}};
        for (int y = 0; y < 40; y += 5) {
            drawLine(c, 0, y + 4, 39, y + 4, {90, 90, 96}); // step edges
            for (int x = 1; x < 40; x += 3)
                if (dice.below(5))
                    fillRect(c, x, y + 1, 2, 2, crowd[dice.below(5)]);
        }
        return c;
    }
    case 15: {
        Canvas c(40, 40, {150, 150, 146});
        Dice dice(15);
        speckle(c, 4, 0, 32, 40, {150, 150, 146}, 5, dice);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 4; ++x) {
                const Rgb hazard = ((y + x) / 4) % 2 ? Rgb{240, 200, 20} : Rgb{20, 20, 20};
                c.set(x, y, hazard);
                c.set(39 - x, y, hazard);
            }
        fillRect(c, 18, 0, 4, 40, {120, 120, 116});
        return c;
    }
    case 16: {
        Canvas c = grass(16);
        kerb(c, 0);
        kerb(c, 32);
        return c;
    }
    case 17: {
        Canvas c = grass(17, GRASS_DARK);
        tree(c, 8, 8, 8, {24, 74, 36});
        tree(c, 28, 12, 9, {28, 82, 40});
        tree(c, 14, 29, 9, {22, 70, 34});
        tree(c, 34, 34, 7, {30, 86, 42});
        return c;
    }
    case 18: {
        Canvas c = texture(18, NIGHT, 5);
        Dice dice(118);
        for (int k = 0; k < 10; ++k)
            c.set(dice.below(40), dice.below(40), {40, 60, 44});
        return c;
    }
    default:
        return Canvas(40, 40);
    }
}

// ---- cars, 30x40, nose up -----------------------------------------------------------------

Canvas car(Rgb body, bool secondFrame)
{
    Canvas c(30, 40);
    // Wheels stick out at the sides; their tread stripes move between the two frames.
    const int wheelY[2] = {6, 27};
    for (int wy : wheelY)
        for (int side : {2, 24})
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 4; ++x)
                    c.set(side + x, wy + y,
                          ((y + (secondFrame ? 1 : 0)) % 2) ? TYRE : Rgb{70, 70, 70});
    fillEllipse(c, 15, 20, 11, 19, body);
    fillRect(c, 5, 8, 20, 25, body);
    for (int y = 2; y < 38; ++y) { // shading: lit from the left
        c.set(5, y, shade(body, 45));
        c.set(24, y, shade(body, -50));
    }
    fillRect(c, 8, 10, 14, 7, GLASS);            // windscreen
    fillRect(c, 9, 10, 4, 2, shade(GLASS, 70));  // glare
    fillRect(c, 9, 17, 12, 9, shade(body, -18)); // roof
    fillRect(c, 9, 26, 12, 4, GLASS);            // rear window
    fillRect(c, 7, 1, 4, 2, {250, 250, 200});    // headlamps
    fillRect(c, 19, 1, 4, 2, {250, 250, 200});
    fillRect(c, 7, 37, 4, 2, {170, 20, 20}); // tail lamps
    fillRect(c, 19, 37, 4, 2, {170, 20, 20});
    drawLine(c, 14, 2, 14, 8, shade(body, 30)); // racing stripe on the bonnet
    drawLine(c, 15, 2, 15, 8, shade(body, 30));
    if (secondFrame) { // a puff of exhaust under the tail
        c.set(12, 39, {160, 160, 160});
        c.set(17, 39, {130, 130, 130});
    }
    return c;
}

Canvas darkCar()
{
    Canvas c = car({36, 36, 44}, false);
    for (auto& p : c.px)
        if (!(p == MAGENTA))
            p = shade(mix(p, {20, 20, 28}, 0.7f), -10);
    fillRect(c, 6, 36, 5, 3, {255, 40, 30}); // only the tail lights stand out
    fillRect(c, 19, 36, 5, 3, {255, 40, 30});
    return c;
}

// The light thrown ahead of the player's car: drawn 88 left of and 138 above its corner.
Canvas headlightCone()
{
    Canvas c(206, 140);
    const float noseX = 103, noseY = 138;
    for (int y = 0; y < 138; ++y)
        for (int x = 0; x < 206; ++x) {
            const float up = noseY - y;        // distance ahead of the nose
            const float half = 8 + up * 0.68f; // the beam widens with distance
            const float off = std::fabs(x + 0.5f - noseX);
            if (off > half)
                continue;
            // Dithered: dense near the car and the beam's axis, sparse at its edges.
            const float strength = (1.0f - up / 150.0f) * (1.0f - 0.6f * off / half);
            const int pattern[4][4] = {
                {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
            if (strength * 16 > pattern[y % 4][x % 4] + 1)
                c.set(x, y, strength > 0.6f ? Rgb{255, 252, 200} : Rgb{236, 228, 150});
        }
    return c;
}

// Crash pictures: the red car turned step by step, and the smoke and sparks drawn over it.
Canvas sparks(int step)
{
    Canvas c(30, 40);
    Dice dice(uint32_t(500 + step));
    for (int k = 0; k < 6; ++k) {
        const float a = -step * 1.2566f + k * 1.0472f; // turning the other way
        const float r = 10 + dice.below(6);
        const int x = int(15 + r * std::cos(a)), y = int(20 + r * 1.3f * std::sin(a));
        fillEllipse(c, x, y, 2.5f, 2.5f, {150, 150, 150});
        c.set(x + 1, y - 1, {200, 200, 200});
    }
    for (int k = 0; k < 5; ++k)
        c.set(dice.below(30), dice.below(40), k % 2 ? Rgb{255, 220, 60} : Rgb{255, 140, 30});
    return c;
}

// ---- panel, signs, intro ------------------------------------------------------------------

Canvas panel()
{
    Canvas c(51, 240, PANEL);
    Dice dice(51);
    speckle(c, 0, 0, 51, 240, PANEL, 3, dice);
    for (int y = 0; y < 240; ++y) {
        c.set(0, y, {30, 32, 36});
        c.set(1, y, {96, 100, 110});
    }
    const struct {
        const char* label;
        int y;
    } readouts[3] = {{"HI", 56}, {"SCORE", 98}, {"TIME", 140}};
    for (const auto& r : readouts) {
        drawLabel(c, r.label, (51 - labelWidth(r.label, 1)) / 2, r.y - 10, 1, {230, 200, 80});
        fillRect(c, 2, r.y - 2, 48, 24, {8, 8, 10}); // the LED window
        drawLine(c, 2, r.y + 22, 49, r.y + 22, {110, 114, 124});
    }
    drawLabel(c, "Q", 15, 190, 5, {206, 32, 30});
    return c;
}

// Drawn over the panel: a bezel and rivets, see-through wherever the panel shows.
Canvas panelMask()
{
    Canvas c(51, 240);
    for (int y = 0; y < 240; ++y) {
        c.set(49, y, {30, 32, 36});
        c.set(50, y, {20, 20, 24});
    }
    fillRect(c, 2, 0, 47, 2, {120, 124, 134});
    fillRect(c, 2, 238, 47, 2, {24, 24, 28});
    for (int y : {8, 30, 170, 230})
        for (int x : {6, 44})
            fillEllipse(c, x, y, 2, 2, {150, 154, 164});
    drawLabel(c, "QUINDARA", 10, 222, 1, {180, 184, 194});
    return c;
}

// A red-bordered warning triangle showing the road ahead getting narrower or wider.
Canvas warningSign(bool narrows)
{
    Canvas c(36, 36);
    fillRect(c, 17, 26, 3, 10, {90, 90, 96}); // post
    fillTriangle(c, 18, 1, 1, 29, 35, 29, {206, 24, 24});
    fillTriangle(c, 18, 7, 6, 26, 30, 26, WHITE);
    // Two road edges: converging for a narrowing, diverging for an opening.
    const int nearGap = narrows ? 5 : 2, farGap = narrows ? 2 : 5;
    for (int k = 0; k < 2; ++k) {
        fillRect(c, 13 - nearGap + k, 23, 2, 2, BLACK);
        drawLine(c, 14 - nearGap + k, 24, 17 - farGap + k + (narrows ? 1 : -1), 12, BLACK);
        drawLine(c, 22 + nearGap - k, 24, 19 + farGap - k - (narrows ? 1 : -1), 12, BLACK);
    }
    return c;
}

Canvas intro()
{
    Canvas c(320, 240);
    for (int y = 0; y < 240; ++y) // dusk sky fading to a pale horizon
        for (int x = 0; x < 320; ++x)
            c.set(x, y, mix({34, 70, 140}, {250, 236, 214}, std::min(1.0f, y / 120.0f)));
    // The road running off to the horizon, with its kerbs.
    for (int y = 60; y < 240; ++y) {
        const float t = (y - 60) / 180.0f;
        const int half = int(6 + t * 120), kerbW = std::max(1, int(t * 10));
        for (int x = 0; x < 320; ++x) {
            const int off = std::abs(x - 160);
            if (off < half)
                c.set(x, y, mix({150, 150, 156}, ASPHALT, t));
            else if (off < half + kerbW)
                c.set(x, y, (int(std::log(y - 50.0f) * 12) % 2) ? KERB_RED : KERB_WHITE);
            else
                c.set(x, y, mix({150, 190, 130}, GRASS, t));
        }
        if ((int(std::log(y - 50.0f) * 9)) % 2 == 0)
            for (int x = 160 - std::max(1, int(t * 3)); x <= 160 + int(t * 3); ++x)
                c.set(x, y, LINE);
    }
    // Keep the strip behind the title light, and the bottom band (rows 208..239) plain for
    // the loading text and the ready banner, so they read.
    for (int y = 124; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            if (y < 172)
                c.set(x, y, mix(c.get(x, y), {250, 246, 236}, 0.78f));
            else if (y >= INTRO_TEXT_BAND)
                c.set(x, y, y == INTRO_TEXT_BAND ? Rgb{214, 36, 30} : Rgb{250, 246, 236});
        }
    const std::string title = "QUINDARA";
    drawLabel(c, title, (320 - labelWidth(title, 8)) / 2 + 3, 23, 8, {20, 20, 40});
    drawLabel(c, title, (320 - labelWidth(title, 8)) / 2, 20, 8, {214, 36, 30});
    // The red car on the road, clear of the title above and the text band below.
    blit(c, car({214, 30, 28}, false), 145, INTRO_TEXT_BAND - 1 - CAR_H);
    return c;
}

// The desktop icon: the red car on a stretch of kerbed road, in a rounded square.
Canvas icon()
{
    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int dx = std::max({0, 9 - x, x - 54}), dy = std::max({0, 9 - y, y - 54});
            if (dx * dx + dy * dy > 81)
                continue; // outside the rounded corners: transparent
            Rgb colour = ASPHALT;
            if (x < 8 || x > 55)
                colour = GRASS;
            else if (x < 13 || x > 50)
                colour = (y / 5) % 2 ? KERB_RED : KERB_WHITE;
            else if ((x == 31 || x == 32) && (y / 8) % 2 == 0)
                colour = LINE;
            c.set(x, y, colour);
        }
    blit(c, car({214, 30, 28}, false), 17, 12);
    return c;
}

// The icon at `size` pixels a side: each pixel averages 4x4 samples of the 64-pixel picture,
// magenta counting as transparent.
bool saveIcon(const Canvas& c, int size, const std::string& path)
{
    std::vector<uint8_t> rgba;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            int sum[3] = {0, 0, 0}, opaque = 0;
            for (int j = 0; j < 4; ++j)
                for (int i = 0; i < 4; ++i) {
                    const Rgb p =
                        c.get((x * 4 + i) * c.w / (size * 4), (y * 4 + j) * c.h / (size * 4));
                    if (p == MAGENTA)
                        continue;
                    sum[0] += p.r, sum[1] += p.g, sum[2] += p.b, ++opaque;
                }
            for (int k = 0; k < 3; ++k)
                rgba.push_back(uint8_t(opaque ? sum[k] / opaque : 0));
            rgba.push_back(uint8_t(opaque * 255 / 16));
        }
    return writePng(path, size, size, rgba);
}

bool makeFolder(const std::string& path)
{
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: makeassets OUTPUT_DIR [ICON_DIR]\n");
        return 2;
    }
    out = argv[1];
    if (!makeFolder(out) || !makeFolder(out + "/crash") || !makeFolder(out + "/sound") ||
        !makeFolder(out + "/music")) {
        std::fprintf(stderr, "makeassets: cannot create %s\n", out.c_str());
        return 1;
    }

    for (int code = 1; code <= 18; ++code) {
        char name[16];
        std::snprintf(name, sizeof name, "%02d.bmp", code);
        save(tile(code), name);
    }
    const struct {
        const char* name;
        Rgb body;
    } colours[5] = {{"Red", {214, 30, 28}},
                    {"Blue", {40, 80, 210}},
                    {"Yellow", {236, 200, 30}},
                    {"Green", {40, 160, 64}},
                    {"Purple", {140, 50, 170}}};
    for (const auto& colour : colours) {
        save(car(colour.body, false), std::string("bmpImgCar") + colour.name + "Up.bmp");
        save(car(colour.body, true), std::string("bmpImgCar") + colour.name + "Down.bmp");
    }
    save(darkCar(), "bmpImgCarDark.bmp");
    save(headlightCone(), "bmpImgCarHeadLight.bmp");
    for (int step = 1; step <= 5; ++step) {
        const float angle = step * 72.0f;
        const std::string n = std::to_string(step);
        save(rotated(car(colours[0].body, false), angle, 0.72f),
             "crash/bmpImgCarRedUp_CW" + n + ".bmp");
        save(rotated(car(colours[0].body, true), angle, 0.72f),
             "crash/bmpImgCarRedDown_CW" + n + ".bmp");
        save(sparks(step), "crash/bmpImgCarRedUp_CCW" + n + ".bmp");
        save(rotated(car(colours[0].body, true), -angle, 0.72f),
             "crash/bmpImgCarRedDown_CCW" + n + ".bmp");
    }
    save(panel(), "pnlMain.bmp");
    save(panelMask(), "pnlMainMSK.bmp");
    save(warningSign(true), "bmpOBJ_WarnFunnel.bmp");
    save(warningSign(false), "bmpOBJ_WarnOpen.bmp");
    save(intro(), "gameIntro.bmp");

    for (int level = 1; level <= 20; ++level) {
        char plain[16], echo[16];
        std::snprintf(plain, sizeof plain, "%02d.wav", level);
        std::snprintf(echo, sizeof echo, "%02de.wav", level);
        const Signal loop = engineLoop(level);
        saveSound(loop, plain);
        saveSound(withTunnelEcho(loop), echo);
    }
    saveSound(passBy(), "othrcar1.wav");
    saveSound(explosion(), "explode.wav");
    saveSound(skidLoop(), "skid.wav");
    saveSound(gravelLoop(), "gravelv2.wav");
    saveSound(coinChime(), "coinin.wav");
    saveSound(signalBeeps(), "signal1.wav");
    saveSound(checkpointFanfare(), "checkpoint.wav");
    // The music, one channel: attract's tune, then each shipped course's.
    for (int t = 0; t < GAME_TUNES; ++t) {
        const std::string name = t == 0 ? "attract.wav" : "0" + std::to_string(t) + ".wav";
        if (!writeWav(musicLoop(gameTune(t)), out + "/music/" + name, 1)) {
            std::fprintf(stderr, "makeassets: cannot write music/%s\n", name.c_str());
            ++failures;
        }
    }

    if (argc == 3) {
        const std::string icons = argv[2];
        if (!makeFolder(icons))
            ++failures;
        for (int size : {48, 64, 128, 256})
            if (!saveIcon(icon(), size, icons + "/quindara-" + std::to_string(size) + ".png")) {
                std::fprintf(stderr, "makeassets: cannot write the %d-pixel icon\n", size);
                ++failures;
            }
    }
    return failures == 0 ? 0 : 1;
}
