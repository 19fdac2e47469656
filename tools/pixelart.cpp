#include "pixelart.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace
{
uint8_t clampByte(int v)
{
    return uint8_t(std::clamp(v, 0, 255));
}
} // namespace

Rgb shade(Rgb c, int delta)
{
    return {clampByte(c.r + delta), clampByte(c.g + delta), clampByte(c.b + delta)};
}

Rgb mix(Rgb a, Rgb b, float t)
{
    return {clampByte(int(std::lround(a.r + (b.r - a.r) * t))),
            clampByte(int(std::lround(a.g + (b.g - a.g) * t))),
            clampByte(int(std::lround(a.b + (b.b - a.b) * t)))};
}

void fillRect(Canvas& c, int x, int y, int w, int h, Rgb colour)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            c.set(i, j, colour);
}

void fillEllipse(Canvas& c, float cx, float cy, float rx, float ry, Rgb colour)
{
    for (int y = int(cy - ry - 1); y <= int(cy + ry + 1); ++y)
        for (int x = int(cx - rx - 1); x <= int(cx + rx + 1); ++x) {
            const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f)
                c.set(x, y, colour);
        }
}

void fillTriangle(Canvas& c, float x0, float y0, float x1, float y1, float x2, float y2, Rgb colour)
{
    const int minX = int(std::floor(std::min({x0, x1, x2}))),
              maxX = int(std::ceil(std::max({x0, x1, x2})));
    const int minY = int(std::floor(std::min({y0, y1, y2}))),
              maxY = int(std::ceil(std::max({y0, y1, y2})));
    auto edge = [](float ax, float ay, float bx, float by, float px, float py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float a = edge(x0, y0, x1, y1, px, py), b = edge(x1, y1, x2, y2, px, py),
                        d = edge(x2, y2, x0, y0, px, py);
            if ((a >= 0 && b >= 0 && d >= 0) || (a <= 0 && b <= 0 && d <= 0))
                c.set(x, y, colour);
        }
}

void drawLine(Canvas& c, int x0, int y0, int x1, int y1, Rgb colour)
{
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        c.set(x0, y0, colour);
        if (x0 == x1 && y0 == y1)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void speckle(Canvas& c, int x, int y, int w, int h, Rgb colour, int amount, Dice& dice)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            c.set(i, j, shade(colour, dice.below(2 * amount + 1) - amount));
}

namespace
{
// 3x5 dot glyphs, rows separated by '/'.
const std::map<char, const char*>& glyphs()
{
    static const std::map<char, const char*> g = {
        {'A', ".#./#.#/###/#.#/#.#"}, {'B', "##./#.#/##./#.#/##."}, {'C', ".##/#../#../#../.##"},
        {'D', "##./#.#/#.#/#.#/##."}, {'E', "###/#../##./#../###"}, {'F', "###/#../##./#../#.."},
        {'G', ".##/#../#.#/#.#/.##"}, {'H', "#.#/#.#/###/#.#/#.#"}, {'I', "###/.#./.#./.#./###"},
        {'J', "..#/..#/..#/#.#/.#."}, {'K', "#.#/#.#/##./#.#/#.#"}, {'L', "#../#../#../#../###"},
        {'M', "#.#/###/###/#.#/#.#"}, {'N', "##./#.#/#.#/#.#/#.#"}, {'O', ".#./#.#/#.#/#.#/.#."},
        {'P', "##./#.#/##./#../#.."}, {'Q', ".#./#.#/#.#/##./.##"}, {'R', "##./#.#/##./#.#/#.#"},
        {'S', ".##/#../.#./..#/##."}, {'T', "###/.#./.#./.#./.#."}, {'U', "#.#/#.#/#.#/#.#/###"},
        {'V', "#.#/#.#/#.#/#.#/.#."}, {'W', "#.#/#.#/###/###/#.#"}, {'X', "#.#/#.#/.#./#.#/#.#"},
        {'Y', "#.#/#.#/.#./.#./.#."}, {'Z', "###/..#/.#./#../###"}, {'0', "###/#.#/#.#/#.#/###"},
        {'1', ".#./##./.#./.#./###"}, {'2', "##./..#/.#./#../###"}, {'3', "##./..#/.#./..#/##."},
        {'-', ".../.../###/.../..."}, {'.', ".../.../.../.../.#."}, {' ', ".../.../.../.../..."},
    };
    return g;
}
} // namespace

int labelWidth(const std::string& text, int scale)
{
    return int(text.size()) * 4 * scale - scale;
}

void drawLabel(Canvas& c, const std::string& text, int x, int y, int scale, Rgb colour)
{
    for (char ch : text) {
        auto it = glyphs().find(ch);
        if (it != glyphs().end()) {
            const std::string dots = it->second;
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (dots[size_t(row) * 4 + col] == '#')
                        fillRect(c, x + col * scale, y + row * scale, scale, scale, colour);
        }
        x += 4 * scale;
    }
}

Canvas rotated(const Canvas& src, float degrees, float scale)
{
    Canvas out(src.w, src.h);
    const float a = degrees * 3.14159265f / 180.0f;
    const float cs = std::cos(a), sn = std::sin(a);
    const float cx = src.w / 2.0f, cy = src.h / 2.0f;
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            // Inverse mapping: where in the source does this pixel come from?
            const float dx = (x + 0.5f - cx) / scale, dy = (y + 0.5f - cy) / scale;
            const float sx = cs * dx + sn * dy + cx, sy = -sn * dx + cs * dy + cy;
            out.set(x, y, src.get(int(std::floor(sx)), int(std::floor(sy))));
        }
    return out;
}

void blit(Canvas& dest, const Canvas& src, int x, int y)
{
    for (int j = 0; j < src.h; ++j)
        for (int i = 0; i < src.w; ++i) {
            const Rgb p = src.get(i, j);
            if (!(p == MAGENTA))
                dest.set(x + i, y + j, p);
        }
}

bool writeBmp(const Canvas& c, const std::string& path)
{
    const int rowBytes = (c.w * 3 + 3) & ~3;
    const uint32_t dataSize = uint32_t(rowBytes) * c.h;
    std::vector<uint8_t> file(54 + dataSize, 0);
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = uint8_t(v >> (8 * i));
    };
    auto put16 = [&](int at, uint16_t v) {
        file[at] = uint8_t(v);
        file[at + 1] = uint8_t(v >> 8);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, uint32_t(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(c.w));
    put32(22, uint32_t(c.h));
    put16(26, 1);
    put16(28, 24);
    put32(34, dataSize);
    put32(38, 2835);
    put32(42, 2835);
    for (int y = 0; y < c.h; ++y) {
        uint8_t* row = &file[54 + size_t(c.h - 1 - y) * rowBytes]; // bottom-up rows
        for (int x = 0; x < c.w; ++x) {
            const Rgb p = c.get(x, y);
            row[3 * x] = p.b;
            row[3 * x + 1] = p.g;
            row[3 * x + 2] = p.r;
        }
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    const bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && ok;
}
