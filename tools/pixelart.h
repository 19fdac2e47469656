#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A small RGB canvas for drawing the game's pictures, written out as 24-bit BMP files.
struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

constexpr Rgb MAGENTA = {255, 0, 255};

struct Canvas {
    int w, h;
    std::vector<Rgb> px;
    Canvas(int w_, int h_, Rgb fill = MAGENTA) : w(w_), h(h_), px(size_t(w_) * h_, fill) {}
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
    Rgb get(int x, int y) const { return inside(x, y) ? px[size_t(y) * w + x] : MAGENTA; }
    void set(int x, int y, Rgb c)
    {
        if (inside(x, y))
            px[size_t(y) * w + x] = c;
    }
};

// Deterministic noise so every build draws the same pictures.
struct Dice {
    uint32_t state;
    explicit Dice(uint32_t seed) : state(seed * 2654435761u + 1) {}
    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    int below(int n) { return int(next() % uint32_t(n)); }
};

Rgb shade(Rgb c, int delta);
Rgb mix(Rgb a, Rgb b, float t);
void fillRect(Canvas& c, int x, int y, int w, int h, Rgb colour);
void fillEllipse(Canvas& c, float cx, float cy, float rx, float ry, Rgb colour);
void fillTriangle(Canvas& c, float x0, float y0, float x1, float y1, float x2, float y2,
                  Rgb colour);
void drawLine(Canvas& c, int x0, int y0, int x1, int y1, Rgb colour);
// Speckles every pixel of `colour` by up to +-amount, for grass, asphalt and gravel.
void speckle(Canvas& c, int x, int y, int w, int h, Rgb colour, int amount, Dice& dice);
// Pixel lettering (capitals, digits and a little punctuation), `scale` pixels per dot.
void drawLabel(Canvas& c, const std::string& text, int x, int y, int scale, Rgb colour);
int labelWidth(const std::string& text, int scale);
// Copies `src` rotated by `degrees` clockwise about its centre and scaled, onto a new canvas.
Canvas rotated(const Canvas& src, float degrees, float scale);
void blit(Canvas& dest, const Canvas& src, int x, int y);
bool writeBmp(const Canvas& c, const std::string& path);
