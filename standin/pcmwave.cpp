#include "pcmwave.h"

#include <cmath>
#include <cstring>
#include <fstream>

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
// Bounds the walk through a damaged file.
constexpr int kMaxChunks = 1000;

std::uint16_t Word(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t DWord(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool ReadAt(std::ifstream& in, std::uint64_t offset, unsigned char* buffer, std::size_t size)
{
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(in.gcount()) == size;
}

} // namespace

bool TpcmWave::Open(const std::string& fileName)
{
    *this = TpcmWave();
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return false;
    in.seekg(0, std::ios::end);
    const auto end = in.tellg();
    if (end < 0)
        return false;
    const auto fileSize = static_cast<std::uint64_t>(end);

    unsigned char riff[12];
    if (!ReadAt(in, 0, riff, sizeof riff) || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0)
        return false;

    bool haveFormat = false;
    std::uint16_t format = 0;
    std::uint64_t offset = 12;
    for (int chunk = 0; chunk < kMaxChunks && offset + 8 <= fileSize; ++chunk) {
        unsigned char head[8];
        if (!ReadAt(in, offset, head, sizeof head))
            return false;
        const std::uint32_t size = DWord(head + 4);
        const std::uint64_t body = offset + 8;
        if (std::memcmp(head, "fmt ", 4) == 0) {
            unsigned char fmt[40] = {};
            if (size < 16 || !ReadAt(in, body, fmt, size < sizeof fmt ? size : sizeof fmt))
                return false;
            format = Word(fmt);
            channels_ = Word(fmt + 2);
            sampleRate_ = static_cast<int>(DWord(fmt + 4) > 0x7FFFFFFF ? 0 : DWord(fmt + 4));
            blockAlign_ = Word(fmt + 12);
            bitsPerSample_ = Word(fmt + 14);
            // The real format of an extensible header is the start of its sub-format GUID.
            if (format == kFormatExtensible && size >= 40)
                format = Word(fmt + 24);
            haveFormat = true;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!haveFormat)
                return false;
            dataOffset_ = body;
            // Streams written without knowing their end say 0 or 0xFFFFFFFF: the data runs to the end.
            const std::uint64_t available = fileSize - body;
            dataSize_ = (size == 0 || size == 0xFFFFFFFF || size > available) ? available : size;
            break;
        }
        offset = body + size + (size & 1);
    }
    if (!haveFormat || dataOffset_ == 0)
        return false;

    isFloat_ = format == kFormatFloat;
    const bool pcm = format == kFormatPcm && (bitsPerSample_ == 8 || bitsPerSample_ == 16 ||
                                              bitsPerSample_ == 24 || bitsPerSample_ == 32);
    const bool floating = isFloat_ && bitsPerSample_ == 32;
    if ((!pcm && !floating) || channels_ < 1 || channels_ > 8 || sampleRate_ < 1 ||
        blockAlign_ != channels_ * bitsPerSample_ / 8)
        return false;
    dataSize_ -= dataSize_ % static_cast<std::uint64_t>(blockAlign_);
    fileName_ = fileName;
    return true;
}

std::uint32_t TpcmWave::LengthMs() const
{
    if (blockAlign_ == 0 || sampleRate_ == 0)
        return 0;
    const std::uint64_t frames = dataSize_ / static_cast<std::uint64_t>(blockAlign_);
    const std::uint64_t ms = frames * 1000 / static_cast<std::uint64_t>(sampleRate_);
    return ms > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(ms);
}

int TpcmWave::LengthSeconds() const
{
    if (blockAlign_ == 0 || sampleRate_ == 0)
        return 0;
    const double frames = static_cast<double>(dataSize_ / static_cast<std::uint64_t>(blockAlign_));
    return static_cast<int>(std::nearbyint(frames / sampleRate_));
}

std::uint64_t TpcmWave::ByteAt(std::uint32_t ms) const
{
    const std::uint64_t frame =
        static_cast<std::uint64_t>(ms) * static_cast<std::uint64_t>(sampleRate_) / 1000;
    const std::uint64_t byte = frame * static_cast<std::uint64_t>(blockAlign_);
    return byte > dataSize_ ? dataSize_ : byte;
}
