#pragma once

#include "support/bytes.h"

#include <cstdint>
#include <optional>
#include <string>

// RIFF/WAVE files written out byte by byte, so the tests do not depend on the readers they check: chunk by
// chunk (Chunk, Format, Riff), or a whole file from a layout with the odd cases readers must survive.
namespace wavbytes {

inline std::string Chunk(const std::string& id, const std::string& body)
{
    std::string chunk = id + Le32(static_cast<std::uint32_t>(body.size())) + body;
    if (body.size() % 2)
        chunk += '\0';
    return chunk;
}

// The 16-byte "fmt " body: format tag, channels, rate, bytes per second, block align, bits.
inline std::string Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    return Le16(tag) + Le16(channels) + Le32(rate) + Le32(rate * align) + Le16(align) + Le16(bits);
}

inline std::string Riff(const std::string& chunks)
{
    return "RIFF" + Le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

// The canonical 44-byte-header file: PCM, "fmt " then "data", silent samples.
inline std::string Pcm(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits, std::uint32_t frames)
{
    const std::string samples(frames * channels * bits / 8, bits == 8 ? '\x80' : '\0');
    return Riff(Chunk("fmt ", Format(1, channels, rate, bits)) + Chunk("data", samples));
}

// Short songs for the player: 8000 Hz mono 8-bit, lasting ms milliseconds.
inline std::string Song(std::uint32_t ms)
{
    return Pcm(8000, 1, 8, ms * 8);
}

struct WavLayout
{
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 2;
    std::uint32_t sampleRate = 44100;
    std::uint16_t bitsPerSample = 16;
    std::optional<std::uint32_t> bytesPerSecond; // default: rate * block align
    std::uint32_t dataBytes = 0;
    bool writeData = true;                  // the audio bytes themselves, else the header alone (a cut file)
    std::optional<std::uint32_t> factCount; // a 4-byte "fact" chunk between "fmt " and "data"
    std::uint32_t fmtExtra = 0;             // bytes beyond the canonical 16 of "fmt "
    std::string chunkBeforeData;            // a whole chunk of another kind after "fmt "
    std::optional<std::uint32_t> riffSize;  // default: the real size - 8
};

inline std::string MakeWav(const WavLayout& s)
{
    const auto blockAlign = static_cast<std::uint16_t>(s.channels * s.bitsPerSample / 8);
    std::string fmt = Le16(s.formatTag) + Le16(s.channels) + Le32(s.sampleRate) +
                      Le32(s.bytesPerSecond.value_or(s.sampleRate * blockAlign)) + Le16(blockAlign) +
                      Le16(s.bitsPerSample) + std::string(s.fmtExtra, '\0');
    std::string body = "WAVE";
    body += "fmt " + Le32(static_cast<std::uint32_t>(fmt.size())) + fmt;
    if (s.factCount)
        body += "fact" + Le32(4) + Le32(*s.factCount);
    body += s.chunkBeforeData;
    body += "data" + Le32(s.dataBytes);
    if (s.writeData)
        body += std::string(s.dataBytes, '\x01');
    const std::uint32_t riff =
        s.riffSize.value_or(static_cast<std::uint32_t>(body.size() + (s.writeData ? 0 : s.dataBytes)));
    return "RIFF" + Le32(riff) + body;
}

} // namespace wavbytes
