#include "core/songs/streamwriter.h"

void TstreamWriter::WriteInt16(std::int16_t value)
{
    const auto v = static_cast<std::uint16_t>(value);
    const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    bytes_.append(b, 2);
}

void TstreamWriter::WriteInt32(std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    const char b[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
    bytes_.append(b, 4);
}
