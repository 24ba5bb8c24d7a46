#include "core/songs/coverpicture.h"

#include "platform/error.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include <jpeglib.h>
// After jpeglib.h: the message numbers.
#include <jerror.h>

namespace {

const char* const kBitmapError = "Bitmap image is not valid";

struct JpegErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

// Warnings about damaged data are not the user's business; the decoder carries on.
void JpegOutputMessage(j_common_ptr) {}

std::string JpegErrorText(int code)
{
    char text[32];
    std::snprintf(text, sizeof text, "JPEG error #%d", code);
    return text;
}

// Decodes into out; answers 0 on success, else the decoder's message number. No C++ object with a destructor
// lives between setjmp and the decoder calls, so the jump skips nothing.
int DecodeJpeg(const unsigned char* data, unsigned long size, std::vector<std::uint8_t>& out, int& width,
               int& height)
{
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JpegErrorExit;
    err.pub.output_message = JpegOutputMessage;
    if (setjmp(err.jump)) {
        const int code = err.pub.msg_code;
        jpeg_destroy_decompress(&cinfo);
        return code == 0 ? JERR_UNKNOWN_MARKER : code;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    // Before the decoder starts: for a progressive picture it takes room for every coefficient of the size
    // the header claims, gigabytes for a few damaged bytes.
    const std::uint64_t declared = static_cast<std::uint64_t>(cinfo.image_width) * cinfo.image_height;
    if (declared == 0 || declared > TcoverPicture::kMaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return JERR_IMAGE_TOO_BIG;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const std::uint64_t pixels = static_cast<std::uint64_t>(cinfo.output_width) * cinfo.output_height;
    if (cinfo.output_components != 3 || pixels == 0 || pixels > TcoverPicture::kMaxPixels) {
        const int code = cinfo.output_components != 3 ? JERR_BAD_J_COLORSPACE : JERR_IMAGE_TOO_BIG;
        jpeg_destroy_decompress(&cinfo);
        return code;
    }
    width = static_cast<int>(cinfo.output_width);
    height = static_cast<int>(cinfo.output_height);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    try {
        out.resize(stride * static_cast<std::size_t>(height));
    } catch (...) {
        jpeg_destroy_decompress(&cinfo);
        throw;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

std::uint32_t Le16(const unsigned char* p)
{
    return p[0] | (p[1] << 8);
}
std::uint32_t Le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Position of the lowest set bit and the width of a colour mask, to scale a channel to 8 bits.
void MaskShift(std::uint32_t mask, int& shift, int& bits)
{
    shift = 0;
    bits = 0;
    if (mask == 0)
        return;
    while (!(mask & 1u)) {
        mask >>= 1;
        ++shift;
    }
    while (mask & 1u) {
        mask >>= 1;
        ++bits;
    }
}

std::uint8_t Channel(std::uint32_t value, std::uint32_t mask, int shift, int bits)
{
    if (bits == 0)
        return 0;
    const std::uint32_t v = (value & mask) >> shift;
    if (bits >= 8)
        return static_cast<std::uint8_t>(v >> (bits - 8));
    const std::uint32_t max = (1u << bits) - 1;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
}

} // namespace

std::uint32_t TcoverPicture::Pixel(int x, int y) const
{
    const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + x) * 3;
    return (static_cast<std::uint32_t>(pixels_[i]) << 16) | (pixels_[i + 1] << 8) | pixels_[i + 2];
}

void TcoverPicture::Clear()
{
    width_ = 0;
    height_ = 0;
    pixels_.clear();
    pixels_.shrink_to_fit();
}

void TcoverPicture::Assign(int width, int height, std::vector<std::uint8_t> rgb)
{
    width_ = width;
    height_ = height;
    pixels_ = std::move(rgb);
}

void TcoverPicture::LoadFromJpeg(const void* data, std::size_t size)
{
    std::vector<std::uint8_t> out;
    int width = 0;
    int height = 0;
    const int code = DecodeJpeg(static_cast<const unsigned char*>(data), static_cast<unsigned long>(size),
                                out, width, height);
    if (code != 0)
        throw EOrvaneError(JpegErrorText(code));
    Assign(width, height, std::move(out));
}

void TcoverPicture::LoadFromBmp(const void* data, std::size_t size)
{
    const auto* p = static_cast<const unsigned char*>(data);
    if (size < 26 || p[0] != 'B' || p[1] != 'M')
        throw EOrvaneError(kBitmapError);
    const std::uint32_t pixelOffset = Le32(p + 10);
    const std::uint32_t headerSize = Le32(p + 14);
    if (headerSize < 12 || 14ull + headerSize > size)
        throw EOrvaneError(kBitmapError);
    const unsigned char* h = p + 14;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::size_t paletteEntry = 4;
    if (headerSize == 12) { // OS/2 core header
        width = Le16(h + 4);
        height = static_cast<std::int16_t>(Le16(h + 6));
        bitCount = Le16(h + 10);
        paletteEntry = 3;
    } else {
        if (headerSize < 40)
            throw EOrvaneError(kBitmapError);
        width = static_cast<std::int32_t>(Le32(h + 4));
        height = static_cast<std::int32_t>(Le32(h + 8));
        bitCount = Le16(h + 14);
        compression = Le32(h + 16);
        colorsUsed = Le32(h + 32);
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height <= 0 ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPixels)
        throw EOrvaneError(kBitmapError);

    // Colour masks: the standard ones unless the header gives its own (BI_BITFIELDS).
    std::uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    constexpr std::uint32_t kRgb = 0;
    constexpr std::uint32_t kBitFields = 3;
    if (compression == kBitFields) {
        if (bitCount != 32 && bitCount != 16)
            throw EOrvaneError(kBitmapError);
        const unsigned char* m = headerSize >= 52 ? h + 40 : h + headerSize;
        if (m + 12 > p + size)
            throw EOrvaneError(kBitmapError);
        masks[0] = Le32(m);
        masks[1] = Le32(m + 4);
        masks[2] = Le32(m + 8);
    } else if (compression != kRgb) {
        throw EOrvaneError(kBitmapError);
    } else if (bitCount == 16) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }

    std::vector<std::uint8_t> palette;
    const bool indexed = bitCount == 1 || bitCount == 4 || bitCount == 8;
    if (indexed) {
        std::uint32_t entries = colorsUsed == 0 ? (1u << bitCount) : colorsUsed;
        if (entries > 256)
            throw EOrvaneError(kBitmapError);
        const std::size_t start = 14 + headerSize;
        const std::size_t bytes = entries * paletteEntry;
        if (start + bytes > size)
            throw EOrvaneError(kBitmapError);
        palette.assign(256 * 3, 0);
        for (std::uint32_t i = 0; i < entries; ++i) {
            const unsigned char* e = p + start + i * paletteEntry;
            palette[i * 3] = e[2];
            palette[i * 3 + 1] = e[1];
            palette[i * 3 + 2] = e[0];
        }
    } else if (bitCount != 16 && bitCount != 24 && bitCount != 32) {
        throw EOrvaneError(kBitmapError);
    }

    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t hgt = static_cast<std::size_t>(height);
    const std::size_t stride = ((w * bitCount + 31) / 32) * 4;
    if (pixelOffset > size || stride * hgt > size - pixelOffset)
        throw EOrvaneError(kBitmapError);

    int shift[3];
    int bits[3];
    for (int c = 0; c < 3; ++c)
        MaskShift(masks[c], shift[c], bits[c]);

    std::vector<std::uint8_t> out(w * hgt * 3);
    for (std::size_t row = 0; row < hgt; ++row) {
        const unsigned char* src = p + pixelOffset + stride * (topDown ? row : hgt - 1 - row);
        std::uint8_t* dst = out.data() + row * w * 3;
        for (std::size_t x = 0; x < w; ++x, dst += 3) {
            if (indexed) {
                std::uint32_t index = 0;
                if (bitCount == 8)
                    index = src[x];
                else if (bitCount == 4)
                    index = (src[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0F;
                else
                    index = (src[x / 8] >> (7 - x % 8)) & 1u;
                std::memcpy(dst, &palette[index * 3], 3);
            } else if (bitCount == 24) {
                dst[0] = src[x * 3 + 2];
                dst[1] = src[x * 3 + 1];
                dst[2] = src[x * 3];
            } else {
                const std::uint32_t v = bitCount == 32 ? Le32(src + x * 4) : Le16(src + x * 2);
                for (int c = 0; c < 3; ++c)
                    dst[c] = Channel(v, masks[c], shift[c], bits[c]);
            }
        }
    }
    Assign(static_cast<int>(w), static_cast<int>(hgt), std::move(out));
}

void TcoverPicture::LoadFromFile(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw EFileError("Cannot open file \"" + fileName + "\"");
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M')
        LoadFromBmp(bytes.data(), bytes.size());
    else
        LoadFromJpeg(bytes.data(), bytes.size());
}
