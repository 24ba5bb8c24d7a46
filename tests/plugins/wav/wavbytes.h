#pragma once

// RIFF/WAVE files written byte by byte, for the reader's tests.

#include <cstdint>
#include <optional>
#include <string>

inline std::string Le16(std::uint16_t v)
{
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

inline std::string Le32(std::uint32_t v)
{
    return Le16(static_cast<std::uint16_t>(v & 0xFFFF)) + Le16(static_cast<std::uint16_t>(v >> 16));
}

struct WavLayout
{
    std::uint16_t formatTag = 1;
    std::uint16_t channels = 2;
    std::uint32_t sampleRate = 44100;
    std::uint16_t bitsPerSample = 16;
    std::optional<std::uint32_t> bytesPerSecond; // default: rate * block align
    std::uint32_t dataBytes = 0;
    bool writeData = false;                 // the audio bytes themselves, else the header alone
    std::optional<std::uint32_t> factCount; // a 4-byte "fact" chunk between "fmt " and "data"
    std::uint32_t fmtExtra = 0;             // bytes beyond the canonical 16 of "fmt "
    std::string chunkBeforeData;            // a whole chunk of another kind after "fmt "
    std::optional<std::uint32_t> riffSize;  // default: the real size - 8
};

inline std::string MakeWav(const WavLayout& s)
{
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(s.channels * s.bitsPerSample / 8);
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
