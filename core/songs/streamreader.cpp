#include "core/songs/streamreader.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr std::size_t kFileBufferSize = 1 << 16;
const char* const kReadErrorText = "Stream read error";

} // namespace

TstreamReader::TstreamReader(std::string_view bytes) : window_(bytes), size_(bytes.size()) {}

TstreamReader::~TstreamReader()
{
    if (file_)
        std::fclose(file_);
}

std::unique_ptr<TstreamReader> TstreamReader::OpenFile(const std::string& fileName)
{
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f)
        return nullptr;
    struct stat st
    {
    };
    if (::fstat(::fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) {
        std::fclose(f);
        return nullptr;
    }
    std::unique_ptr<TstreamReader> reader(new TstreamReader());
    reader->file_ = f;
    reader->size_ = static_cast<std::uint64_t>(st.st_size);
    reader->buffer_.resize(kFileBufferSize);
    return reader;
}

// Makes at least wanted bytes (or all that is left) available in the window.
bool TstreamReader::Fill(std::size_t wanted)
{
    const std::size_t have = window_.size() - windowPos_;
    if (have >= wanted)
        return true;
    if (!file_)
        return false;
    if (buffer_.size() < wanted)
        buffer_.resize(wanted);
    if (have > 0)
        std::memmove(buffer_.data(), window_.data() + windowPos_, have);
    std::size_t got = have;
    while (got < buffer_.size()) {
        const std::size_t n = std::fread(buffer_.data() + got, 1, buffer_.size() - got, file_);
        if (n == 0)
            break;
        got += n;
    }
    window_ = std::string_view(buffer_.data(), got);
    windowPos_ = 0;
    return got >= wanted;
}

void TstreamReader::ReadBuffer(void* dest, std::size_t count)
{
    if (count > Remaining())
        throw EReadError(kReadErrorText);
    auto* out = static_cast<char*>(dest);
    if (file_ && count > buffer_.size()) {
        // Large blocks go straight from the file after what the window still holds.
        const std::size_t have = window_.size() - windowPos_;
        if (have > 0)
            std::memcpy(out, window_.data() + windowPos_, have);
        windowPos_ = window_.size();
        if (std::fread(out + have, 1, count - have, file_) != count - have)
            throw EReadError(kReadErrorText);
        position_ += count;
        return;
    }
    if (!Fill(count))
        throw EReadError(kReadErrorText);
    if (count > 0)
        std::memcpy(out, window_.data() + windowPos_, count);
    windowPos_ += count;
    position_ += count;
}

std::uint8_t TstreamReader::ReadByte()
{
    if (windowPos_ < window_.size() && position_ < size_) {
        ++position_;
        return static_cast<std::uint8_t>(window_[windowPos_++]);
    }
    std::uint8_t b = 0;
    ReadBuffer(&b, 1);
    return b;
}

std::int16_t TstreamReader::ReadInt16()
{
    unsigned char b[2];
    ReadBuffer(b, 2);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
}

std::int32_t TstreamReader::ReadInt32()
{
    unsigned char b[4];
    ReadBuffer(b, 4);
    const std::uint32_t v = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                            (static_cast<std::uint32_t>(b[2]) << 16) |
                            (static_cast<std::uint32_t>(b[3]) << 24);
    return static_cast<std::int32_t>(v);
}

std::string TstreamReader::ReadString(std::size_t count)
{
    if (count > Remaining())
        throw EReadError(kReadErrorText);
    std::string s(count, '\0');
    ReadBuffer(s.data(), count);
    return s;
}

void TstreamReader::Skip(std::uint64_t count)
{
    if (count > Remaining())
        throw EReadError(kReadErrorText);
    if (!file_) {
        windowPos_ += static_cast<std::size_t>(count);
        position_ += count;
        return;
    }
    const std::size_t have = window_.size() - windowPos_;
    if (count <= have) {
        windowPos_ += static_cast<std::size_t>(count);
    } else {
        if (std::fseek(file_, static_cast<long>(count - have), SEEK_CUR) != 0)
            throw EReadError(kReadErrorText);
        windowPos_ = window_.size();
    }
    position_ += count;
}
