// The JPEG cover reader: refuses or decodes any bytes; a decoded picture has three bytes for every pixel.
#include "fuzz/fuzzcheck.h"

#include "core/songs/coverpicture.h"
#include "platform/error.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TcoverPicture picture;
    try {
        picture.LoadFromJpeg(data, size);
    } catch (const EOrvaneError&) {
        FuzzCheck(picture.Empty(), "a refused picture leaves the picture as it was");
        return 0;
    }
    FuzzCheck(picture.Width() > 0 && picture.Height() > 0, "a decoded picture has pixels");
    FuzzCheck(picture.Pixels().size() == static_cast<std::size_t>(picture.Width()) * picture.Height() * 3,
              "three bytes a pixel");
    picture.Pixel(picture.Width() - 1, picture.Height() - 1);
    return 0;
}
