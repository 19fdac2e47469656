#include "present/text.h"
#include "present/assets.h"
#include <SDL.h>
#include <SDL_ttf.h>
#include <cstdio>

namespace
{

// Renders once, copies at (x, y) clipped by SDL, and frees the rendered text at once.
void drawText(SDL_Surface* dest, TTF_Font* font, const char* text, int x, int y, int r, int g,
              int b)
{
    if (!dest || !font || !text || !*text)
        return; // no font, nothing to say: nothing drawn
    SDL_Color colour = {static_cast<Uint8>(r & 0xff), static_cast<Uint8>(g & 0xff),
                        static_cast<Uint8>(b & 0xff), 0};
    SDL_Surface* rendered = TTF_RenderText_Blended(font, text, colour);
    if (!rendered)
        return;
    SDL_Rect at = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
    SDL_UpperBlit(rendered, nullptr, dest, &at);
    SDL_FreeSurface(rendered);
}

void drawNumber(SDL_Surface* dest, TTF_Font* font, int value, int x, int y, int r, int g, int b)
{
    char text[16]; // room for any int with its sign
    std::snprintf(text, sizeof text, "%d", value);
    drawText(dest, font, text, x, y, r, g, b);
}

} // namespace

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
