#include "png.h"
#include <cstdio>
#include <zlib.h>

namespace
{

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body)
{
    put32(out, uint32_t(body.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), body.begin(), body.end());
    out.insert(out.end(), typed.begin(), typed.end());
    put32(out, uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

std::vector<uint8_t> deflated(const std::vector<uint8_t>& raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<uint8_t> z(size);
    if (compress2(z.data(), &size, raw.data(), uLong(raw.size()), 9) != Z_OK)
        return {};
    z.resize(size);
    return z;
}
} // namespace

bool writePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba)
{
    if (w <= 0 || h <= 0 || rgba.size() != size_t(w) * size_t(h) * 4)
        return false;
    std::vector<uint8_t> raw;
    raw.reserve(size_t(h) * (size_t(w) * 4 + 1));
    for (int y = 0; y < h; ++y) {
        raw.push_back(0); // no filter
        raw.insert(raw.end(), rgba.begin() + long(size_t(y) * w * 4),
                   rgba.begin() + long(size_t(y + 1) * w * 4));
    }
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> header;
    put32(header, uint32_t(w));
    put32(header, uint32_t(h));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8-bit RGBA, no interlace
    chunk(out, "IHDR", header);
    const std::vector<uint8_t> image = deflated(raw);
    if (image.empty())
        return false;
    chunk(out, "IDAT", image);
    chunk(out, "IEND", {});
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}
