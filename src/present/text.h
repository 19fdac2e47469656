#pragma once

struct SDL_Surface;
typedef struct _TTF_Font TTF_Font;

// Texts are rendered once and kept until this is called (the fonts closing), or until many
// are kept.
void forgetRenderedText();
void drawSmallText(SDL_Surface* dest, const char* text, int x, int y, int r, int g, int b);
void drawMediumText(SDL_Surface* dest, const char* text, int x, int y, int r, int g, int b);
void drawSmallNumber(SDL_Surface* dest, int value, int x, int y, int r, int g, int b);
void drawLedNumber(SDL_Surface* dest, int value, int x, int y, int r, int g, int b);
// The volume as a row of bars: one per ten steps, thirteen from 120 up.
const char* volumeBar(int value);
