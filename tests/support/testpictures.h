#pragma once

#include <cstdint>
#include <string>

// A JPEG of the given size, every pixel of one colour (0xRRGGBB), made with libjpeg's compressor.
std::string MakeJpeg(int width, int height, std::uint32_t rgb);

// An ID3v2.3 tag holding one picture frame (MIME text, type 3, empty description, picture), then audio.
std::string MakeId3WithPicture(const std::string& mime, const std::string& picture, const std::string& audio);
