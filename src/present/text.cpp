#include "present/text.h"
#include "present/assets.h"
#include <SDL.h>
#include <SDL_ttf.h>
#include <cstdio>
#include <string>
#include <unordered_map>

namespace
{
// Texts as rendered, kept until the fonts close: most of a frame's texts are the frame
// before's (the readouts are even drawn twice), and rendering is the dear part. Kept small:
// when full it starts afresh.
constexpr size_t RENDERED_KEPT = 96;
std::unordered_map<std::string, SDL_Surface*> rendered;

SDL_Surface* renderedText(TTF_Font* font, const char* text, SDL_Color colour)
{
    char head[48];
    std::snprintf(head, sizeof head, "%p %02x%02x%02x ", static_cast<void*>(font), colour.r,
                  colour.g, colour.b);
    const std::string key = head + std::string(text);
    if (const auto kept = rendered.find(key); kept != rendered.end())
        return kept->second;
    if (rendered.size() >= RENDERED_KEPT)
        forgetRenderedText();
    SDL_Surface* surface = TTF_RenderText_Blended(font, text, colour);
    if (surface)
        rendered.emplace(key, surface);
    return surface;
}

void drawText(SDL_Surface* dest, TTF_Font* font, const char* text, int x, int y, int r, int g,
              int b)
{
    if (!dest || !font || !text || !*text)
        return; // no font, nothing to say: nothing drawn
    SDL_Color colour = {static_cast<Uint8>(r & 0xff), static_cast<Uint8>(g & 0xff),
                        static_cast<Uint8>(b & 0xff), 0};
    SDL_Surface* surface = renderedText(font, text, colour);
    if (!surface)
        return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_UpperBlit(surface, nullptr, dest, &at);
}

void drawNumber(SDL_Surface* dest, TTF_Font* font, int value, int x, int y, int r, int g, int b)
{
    char text[16]; // room for any int with its sign
    std::snprintf(text, sizeof text, "%d", value);
    drawText(dest, font, text, x, y, r, g, b);
}

} // namespace

void forgetRenderedText()
{
    for (auto& [key, surface] : rendered)
        SDL_FreeSurface(surface);
    rendered.clear();
}

void drawSmallText(SDL_Surface* dest, const char* text, int x, int y, int r, int g, int b)
{
    drawText(dest, smallFont, text, x, y, r, g, b);
}

void drawMediumText(SDL_Surface* dest, const char* text, int x, int y, int r, int g, int b)
{
    drawText(dest, mediumFont, text, x, y, r, g, b);
}

void drawSmallNumber(SDL_Surface* dest, int value, int x, int y, int r, int g, int b)
{
    drawNumber(dest, smallFont, value, x, y, r, g, b);
}

void drawLedNumber(SDL_Surface* dest, int value, int x, int y, int r, int g, int b)
{
    drawNumber(dest, ledFont, value, x, y, r, g, b);
}

const char* volumeBar(int value)
{
    static const char* const bars[14] = {
        "",           "|",           "||",           "|||",          "||||",
        "|||||",      "||||||",      "|||||||",      "||||||||",     "|||||||||",
        "||||||||||", "|||||||||||", "||||||||||||", "|||||||||||||"};
    if (value < -1 || value > 135)
        return bars[0];
    if (value < 10)
        return bars[1];
    if (value >= 120)
        return bars[13];
    return bars[value / 10 + 1];
}
