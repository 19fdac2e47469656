#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes 8-bit RGBA pixels (rows top to bottom) as a PNG file: the icons and the README
// screenshots.
bool writePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba);
