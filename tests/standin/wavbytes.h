#pragma once

#include <cstdint>
#include <string>

// RIFF/WAVE files written out byte by byte, so the tests do not depend on the reader they check.
namespace wavbytes {

inline std::string U16(unsigned v)
{
    return {char(v & 0xFF), char((v >> 8) & 0xFF)};
}
inline std::string U32(std::uint32_t v)
{
    return {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char((v >> 24) & 0xFF)};
}

inline std::string Chunk(const std::string& id, const std::string& body)
{
    std::string chunk = id + U32(static_cast<std::uint32_t>(body.size())) + body;
    if (body.size() % 2)
        chunk += '\0';
    return chunk;
}

// The 16-byte "fmt " body: format tag, channels, rate, bytes per second, block align, bits.
inline std::string Format(unsigned tag, unsigned channels, std::uint32_t rate, unsigned bits)
{
    const unsigned align = channels * bits / 8;
    return U16(tag) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) + U16(bits);
}

inline std::string Riff(const std::string& chunks)
{
    return "RIFF" + U32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

// The canonical 44-byte-header file: PCM, "fmt " then "data".
inline std::string Pcm(std::uint32_t rate, unsigned channels, unsigned bits, std::uint32_t frames)
{
    const std::string samples(frames * channels * bits / 8, bits == 8 ? '\x80' : '\0');
    return Riff(Chunk("fmt ", Format(1, channels, rate, bits)) + Chunk("data", samples));
}

// Short songs for the player: 8000 Hz mono 8-bit, lasting ms milliseconds.
inline std::string Song(std::uint32_t ms)
{
    return Pcm(8000, 1, 8, ms * 8);
}

} // namespace wavbytes
