#pragma once

#include "platform/error.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A read past the end of a stream or a damaged record in it.
class EReadError : public EOrvaneError
{
public:
    using EOrvaneError::EOrvaneError;
};

// Sequential little-endian reader over bytes in memory or over a file. The size is known up front, so a
// length field can be checked against what is left before anything is allocated for it.
class TstreamReader
{
public:
    // Reads bytes the caller keeps alive for the reader's lifetime.
    explicit TstreamReader(std::string_view bytes);
    ~TstreamReader();
    TstreamReader(const TstreamReader&) = delete;
    TstreamReader& operator=(const TstreamReader&) = delete;

    // Opens a file read-only; nullptr when it cannot be opened.
    static std::unique_ptr<TstreamReader> OpenFile(const std::string& fileName);

    std::uint64_t Size() const { return size_; }
    std::uint64_t Position() const { return position_; }
    std::uint64_t Remaining() const { return size_ - position_; }

    // All of these throw EReadError ("Stream read error") when the stream ends first.
    void ReadBuffer(void* dest, std::size_t count);
    std::uint8_t ReadByte();
    std::int16_t ReadInt16();
    std::int32_t ReadInt32();
    // count bytes as text; refused before allocating when fewer than count bytes are left.
    std::string ReadString(std::size_t count);
    void Skip(std::uint64_t count);

private:
    TstreamReader() = default;
    bool Fill(std::size_t wanted);

    std::string_view window_;
    std::size_t windowPos_ = 0;
    std::uint64_t position_ = 0;
    std::uint64_t size_ = 0;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
};

// A component stream names a class that is not registered for streaming.
class EClassNotFound : public EReadError
{
public:
    using EReadError::EReadError;
};
