#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A decoded picture: 8-bit RGB, three bytes a pixel, rows top to bottom without padding. The core decodes
// cover art into it; the windows turn it into their own image type.
class TcoverPicture
{
public:
    // Pictures beyond this many pixels are refused rather than decoded (a damaged header could ask for
    // gigabytes).
    static constexpr std::uint64_t kMaxPixels = 40ull * 1024 * 1024;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }
    const std::vector<std::uint8_t>& Pixels() const { return pixels_; }
    // Red, green and blue of one pixel, packed as 0xRRGGBB.
    std::uint32_t Pixel(int x, int y) const;

    void Clear();
    void Assign(int width, int height, std::vector<std::uint8_t> rgb);

    // Decoders; each throws EOrvaneError and leaves the picture as it was on failure.
    // JPEG errors carry the decoder's message number: "JPEG error #%d".
    void LoadFromJpeg(const void* data, std::size_t size);
    // Uncompressed Windows bitmaps: 24 and 32 bits a pixel, or 1, 4 and 8 bits with a palette.
    void LoadFromBmp(const void* data, std::size_t size);
    // A JPEG or BMP file, told apart by its first bytes.
    void LoadFromFile(const std::string& fileName);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};
