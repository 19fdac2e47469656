#pragma once

// Calls of libraries the game does not link but that are in the process already: SDL2, which
// carries the SDL 1.2 calls (its namesakes in the 1.2 library would win a plain link), and
// the X library SDL's X11 driver loaded. Each is looked up by name with dlsym.
#include <dlfcn.h>

constexpr const char* SDL2_LIBRARY = "libSDL2-2.0.so.0";

// The library when this process has loaded it; null otherwise.
inline void* loadedLibrary(const char* name)
{
    return dlopen(name, RTLD_NOW | RTLD_NOLOAD);
}

// Sets `into` to the library's function `name`; false when there is none.
template <typename F> bool lookUp(void* library, const char* name, F& into)
{
    into = library ? reinterpret_cast<F>(dlsym(library, name)) : nullptr;
    return into != nullptr;
}
