#pragma once
#include <cstddef>
#include <cstdint>

// 32-bit FNV-1a: the course's checksum, the sample names, the replay file's checksum.
inline uint32_t fnv1a(const void* data, size_t size, uint32_t hash = 2166136261u)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}
