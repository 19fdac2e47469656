#include "platform/keys.h"
#include <SDL.h>
#include <cstring>
#include <type_traits>

using RawSymbol = std::underlying_type_t<SDLKey>;

long keySymbolOf(const SDL_Event& event)
{
    RawSymbol raw;
    std::memcpy(&raw, &event.key.keysym.sym, sizeof raw);
    return static_cast<long>(raw);
}

void setKeySymbol(SDL_Event& event, long symbol)
{
    const RawSymbol raw = static_cast<RawSymbol>(symbol);
    std::memcpy(&event.key.keysym.sym, &raw, sizeof raw);
}
