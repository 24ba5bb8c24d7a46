#pragma once

#include <cstdint>
#include <string>

// The facts of a PCM (or 32-bit float) RIFF/WAVE file that playing it needs: the sample layout and where
// the samples lie. The chunks are walked, so "LIST", "fact" or other chunks before "data" do no harm.
class TpcmWave
{
public:
    // False when the file cannot be read or is not a WAVE file this player can play.
    bool Open(const std::string& fileName);

    const std::string& FileName() const { return fileName_; }
    int Channels() const { return channels_; }
    int SampleRate() const { return sampleRate_; }
    int BitsPerSample() const { return bitsPerSample_; }
    int BlockAlign() const { return blockAlign_; }
    bool IsFloat() const { return isFloat_; }
    // The samples: whole frames only, never past the end of the file.
    std::uint64_t DataOffset() const { return dataOffset_; }
    std::uint64_t DataSize() const { return dataSize_; }

    std::uint32_t LengthMs() const;
    // Rounded to the nearest second, halves to even.
    int LengthSeconds() const;
    // The first byte of the frame playing at that time (relative to DataOffset).
    std::uint64_t ByteAt(std::uint32_t ms) const;

private:
    std::string fileName_;
    int channels_ = 0;
    int sampleRate_ = 0;
    int bitsPerSample_ = 0;
    int blockAlign_ = 0;
    bool isFloat_ = false;
    std::uint64_t dataOffset_ = 0;
    std::uint64_t dataSize_ = 0;
};
