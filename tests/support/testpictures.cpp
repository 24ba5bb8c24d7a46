#include "support/testpictures.h"

#include "support/bytes.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

std::string MakeJpeg(int width, int height, std::uint32_t rgb, bool progressive)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[x * 3] = static_cast<unsigned char>(rgb >> 16);
        row[x * 3 + 1] = static_cast<unsigned char>(rgb >> 8);
        row[x * 3 + 2] = static_cast<unsigned char>(rgb);
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<char*>(out), size);
    std::free(out);
    return bytes;
}

std::string MakeBmp(int width, int height, int bits, std::uint32_t compression, const std::string& palette,
                    const std::string& pixels, std::uint32_t colorsUsed)
{
    const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(palette.size());
    return std::string("BM") + Le32(offset + static_cast<std::uint32_t>(pixels.size())) + Le32(0) +
           Le32(offset) + Le32(40) + Le32(static_cast<std::uint32_t>(width)) +
           Le32(static_cast<std::uint32_t>(height)) + Raw({1, 0, bits, 0}) + Le32(compression) +
           Le32(static_cast<std::uint32_t>(pixels.size())) + Le32(2835) + Le32(2835) + Le32(colorsUsed) +
           Le32(0) + palette + pixels;
}

std::string MakeId3WithPicture(const std::string& mime, const std::string& picture, const std::string& audio)
{
    std::string frame;
    frame += '\0'; // text encoding
    frame += mime;
    frame += '\0';
    frame += '\3'; // front cover
    frame += '\0'; // empty description
    frame += picture;
    std::string body = "APIC";
    const auto fs = static_cast<std::uint32_t>(frame.size());
    body += static_cast<char>(fs >> 24);
    body += static_cast<char>(fs >> 16);
    body += static_cast<char>(fs >> 8);
    body += static_cast<char>(fs);
    body += std::string(2, '\0');
    body += frame;
    body += std::string(64, '\0'); // padding
    const auto ts = static_cast<std::uint32_t>(body.size());
    std::string tag = "ID3";
    tag += '\3';
    tag += '\0';
    tag += '\0';
    tag += static_cast<char>((ts >> 21) & 0x7F);
    tag += static_cast<char>((ts >> 14) & 0x7F);
    tag += static_cast<char>((ts >> 7) & 0x7F);
    tag += static_cast<char>(ts & 0x7F);
    return tag + body + audio;
}
