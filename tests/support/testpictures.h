#pragma once

#include <cstdint>
#include <string>

// A JPEG of the given size, every pixel of one colour (0xRRGGBB), made with libjpeg's compressor; baseline
// unless progressive.
std::string MakeJpeg(int width, int height, std::uint32_t rgb, bool progressive = false);

// A Windows bitmap: file header and a 40-byte info header, then palette and pixels as given.
std::string MakeBmp(int width, int height, int bits, std::uint32_t compression, const std::string& palette,
                    const std::string& pixels, std::uint32_t colorsUsed = 0);

// An ID3v2.3 tag holding one picture frame (MIME text, type 3, empty description, picture), then audio.
std::string MakeId3WithPicture(const std::string& mime, const std::string& picture, const std::string& audio);
