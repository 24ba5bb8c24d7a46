#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// Little-endian writer that collects a file's bytes in memory; the caller hands Bytes() to the atomic writer.
class TstreamWriter
{
public:
    TstreamWriter() = default;
    // Writes into buffer's storage, emptied first: a caller writing many files reuses one allocation.
    explicit TstreamWriter(std::string buffer) : bytes_(std::move(buffer)) { bytes_.clear(); }

    void WriteBuffer(const void* data, std::size_t count)
    {
        bytes_.append(static_cast<const char*>(data), count);
    }
    void WriteBytes(std::string_view bytes) { bytes_.append(bytes); }
    void WriteByte(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void WriteInt16(std::int16_t value);
    void WriteInt32(std::int32_t value);

    const std::string& Bytes() const { return bytes_; }
    std::string TakeBytes() { return std::move(bytes_); }
    std::size_t Size() const { return bytes_.size(); }
    void Reserve(std::size_t size) { bytes_.reserve(size); }

private:
    std::string bytes_;
};
