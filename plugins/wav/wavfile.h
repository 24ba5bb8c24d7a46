#pragma once

#include <array>
#include <cstdint>
#include <string>

// The first 44 bytes of a RIFF/WAVE file as the reader lays them out (little-endian): the RIFF header,
// a "fmt " chunk of the canonical size, the identifier of the next chunk at 36 and, when that chunk is a
// "fact" chunk, its sample count at 40.
using TWAVheader = std::array<std::uint8_t, 44>;

// "RIFF", "WAVE" and "fmt " in place and one or two channels.
bool IsValidWAVHeader(const TWAVheader& buffer);

// The format facts and the playing time of a WAV file, read from a fixed-layout header (no chunk walk):
// "fmt " right after the RIFF header, then "data" or a "fact" chunk holding the sample count.
class TWAVfile
{
public:
    TWAVfile() = default;

    void ResetFields();
    // False only when the file cannot be read; a readable file with a header that is not valid answers
    // true and leaves the object reset (Valid false).
    bool ReadFromFile(const std::string& fileName);
    // Playing time in seconds; 0 when not valid or when nothing to compute it from.
    double GetDuration() const;

    bool Valid() const { return valid_; }
    std::uint16_t FormatTag() const { return formatTag_; }
    std::uint16_t Channels() const { return channels_; }
    std::uint32_t SampleRate() const { return sampleRate_; }
    std::uint32_t BytesPerSecond() const { return bytesPerSecond_; }
    std::uint16_t BlockAlign() const { return blockAlign_; }
    std::uint16_t BitsPerSample() const { return bitsPerSample_; }
    std::uint32_t FactCount() const { return factCount_; }
    // Bytes before the audio data and the whole file's size as its RIFF header tells it, or the real size
    // when the file holds less. Held in 64 bits:
    // a RIFF size near 4 GiB plus the 8 header bytes, or a huge "fmt " size, must not wrap.
    std::uint64_t HeaderSize() const { return headerSize_; }
    std::uint64_t FileSize() const { return fileSize_; }

private:
    bool valid_ = false;
    std::uint16_t formatTag_ = 0;
    std::uint16_t channels_ = 0;
    std::uint32_t sampleRate_ = 0;
    std::uint32_t bytesPerSecond_ = 0;
    std::uint16_t blockAlign_ = 0;
    std::uint16_t bitsPerSample_ = 0;
    std::uint32_t factCount_ = 0;
    std::uint64_t headerSize_ = 0;
    std::uint64_t fileSize_ = 0;
};
