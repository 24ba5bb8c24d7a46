#include "support/bytes.h"
#include "support/testpictures.h"

#include "core/songs/coverpicture.h"
#include "platform/error.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h: the message numbers.
#include <jerror.h>

namespace {

std::string LoadError(TcoverPicture& p, const std::string& bytes, bool jpeg)
{
    try {
        if (jpeg)
            p.LoadFromJpeg(bytes.data(), bytes.size());
        else
            p.LoadFromBmp(bytes.data(), bytes.size());
    } catch (const EOrvaneError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(CoverPicture, ReadsUncompressedBitmaps)
{
    TcoverPicture p;
    // 2 x 2, 24 bits, bottom row first, rows padded to 4 bytes; pixels are stored blue, green, red.
    p.LoadFromBmp(MakeBmp(2, 2, 24, 0, "",
                          Raw({0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0, 0}) +
                              Raw({0xFF, 0x00, 0x00, 0x10, 0x20, 0x30, 0, 0}))
                      .data(),
                  70);
    ASSERT_EQ(p.Width(), 2);
    ASSERT_EQ(p.Height(), 2);
    EXPECT_EQ(p.Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(p.Pixel(1, 0), 0x302010u);
    EXPECT_EQ(p.Pixel(0, 1), 0xFF0000u);
    EXPECT_EQ(p.Pixel(1, 1), 0x00FF00u);

    // 1 x 2, 32 bits, top-down (negative height).
    const std::string top = MakeBmp(1, -2, 32, 0, "", Raw({1, 2, 3, 0, 4, 5, 6, 0}));
    p.LoadFromBmp(top.data(), top.size());
    EXPECT_EQ(p.Pixel(0, 0), 0x030201u);
    EXPECT_EQ(p.Pixel(0, 1), 0x060504u);

    // 3 x 1, 8 bits with a two-colour palette (colours used: 2).
    const std::string pal = Raw({0x00, 0x00, 0x00, 0, 0xFF, 0x80, 0x40, 0});
    const std::string eight = MakeBmp(3, 1, 8, 0, pal, Raw({1, 0, 1, 0}), 2);
    p.LoadFromBmp(eight.data(), eight.size());
    EXPECT_EQ(p.Width(), 3);
    EXPECT_EQ(p.Pixel(0, 0), 0x4080FFu);
    EXPECT_EQ(p.Pixel(1, 0), 0x000000u);
    EXPECT_EQ(p.Pixel(2, 0), 0x4080FFu);

    // 4 and 1 bits a pixel share the palette path.
    const std::string four = MakeBmp(3, 1, 4, 0, pal, Raw({0x10, 0x10, 0, 0}), 2);
    p.LoadFromBmp(four.data(), four.size());
    EXPECT_EQ(p.Pixel(0, 0), 0x4080FFu);
    EXPECT_EQ(p.Pixel(1, 0), 0x000000u);
    EXPECT_EQ(p.Pixel(2, 0), 0x4080FFu);
    const std::string one = MakeBmp(3, 1, 1, 0, pal, Raw({0xA0, 0, 0, 0}), 2);
    p.LoadFromBmp(one.data(), one.size());
    EXPECT_EQ(p.Pixel(0, 0), 0x4080FFu);
    EXPECT_EQ(p.Pixel(1, 0), 0x000000u);

    // 32 bits with its own colour masks (BI_BITFIELDS): 0x00RRGGBB written as masks in the header.
    std::string fields =
        MakeBmp(1, 1, 32, 3, Le32(0x00FF0000) + Le32(0x0000FF00) + Le32(0x000000FF), Raw({9, 8, 7, 0}));
    p.LoadFromBmp(fields.data(), fields.size());
    EXPECT_EQ(p.Pixel(0, 0), 0x070809u);
}

TEST(CoverPicture, RefusesDamagedBitmapsAndKeepsThePicture)
{
    TcoverPicture p;
    const std::string good = MakeBmp(1, 1, 24, 0, "", Raw({1, 2, 3, 0}));
    p.LoadFromBmp(good.data(), good.size());
    const std::string error = "Bitmap image is not valid";
    EXPECT_EQ(LoadError(p, good.substr(0, good.size() - 1), false), error); // pixels cut short
    EXPECT_EQ(LoadError(p, "BM", false), error);
    EXPECT_EQ(LoadError(p, MakeBmp(1, 1, 8, 1, std::string(1024, '\0'), Raw({0, 0, 0, 0})), false),
              error);                                                                             // RLE
    EXPECT_EQ(LoadError(p, MakeBmp(100000, 100000, 24, 0, "", Raw({0, 0, 0, 0})), false), error); // huge
    EXPECT_EQ(LoadError(p, MakeBmp(0, 1, 24, 0, "", Raw({0, 0, 0, 0})), false), error);
    EXPECT_EQ(LoadError(p, MakeBmp(1, 1, 8, 0, std::string(8, '\0'), Raw({0, 0, 0, 0}), 300), false), error);
    EXPECT_EQ(LoadError(p, MakeBmp(1, 1, 7, 0, "", Raw({0, 0, 0, 0})), false), error);
    EXPECT_EQ(p.Pixel(0, 0), 0x030201u);
}

TEST(CoverPicture, JpegDecodingAndItsErrors)
{
    TcoverPicture p;
    const std::string jpeg = MakeJpeg(16, 9, 0x00FF00);
    p.LoadFromJpeg(jpeg.data(), jpeg.size());
    EXPECT_EQ(p.Width(), 16);
    EXPECT_EQ(p.Height(), 9);
    EXPECT_EQ(p.Pixels().size(), 16u * 9u * 3u);
    EXPECT_LT(p.Pixel(5, 5) >> 16, 0x10u);
    EXPECT_GT((p.Pixel(5, 5) >> 8) & 0xFF, 0xF0u);

    char noSoi[32];
    std::snprintf(noSoi, sizeof noSoi, "JPEG error #%d", JERR_NO_SOI);
    EXPECT_EQ(LoadError(p, "not a jpeg at all", true), noSoi);
    char empty[32];
    std::snprintf(empty, sizeof empty, "JPEG error #%d", JERR_INPUT_EMPTY);
    EXPECT_EQ(LoadError(p, "", true), empty);
    EXPECT_EQ(LoadError(p, jpeg.substr(0, 20), true).rfind("JPEG error #", 0), 0u);
    EXPECT_EQ(p.Width(), 16); // unchanged by the failures

    // A progressive JPEG whose header claims 60000 x 60000 pixels is refused before the decoder makes room
    // for them.
    std::string huge = MakeJpeg(9, 9, 0x00FF80, true);
    const std::size_t sof = huge.find("\xFF\xC2");
    ASSERT_NE(sof, std::string::npos);
    huge.replace(sof + 5, 4, Raw({0xEA, 0x60, 0xEA, 0x60}));
    char tooBig[32];
    std::snprintf(tooBig, sizeof tooBig, "JPEG error #%d", JERR_IMAGE_TOO_BIG);
    EXPECT_EQ(LoadError(p, huge, true), tooBig);

    // A cut JPEG decodes with what it has, as the decoder pads the rest.
    const std::string cut = jpeg.substr(0, jpeg.size() - 10);
    p.LoadFromJpeg(cut.data(), cut.size());
    EXPECT_EQ(p.Height(), 9);

    TempDir dir;
    const std::string bmp = MakeBmp(1, 1, 24, 0, "", Raw({1, 2, 3, 0}));
    p.LoadFromFile(dir.Write("a.jpg", bmp)); // told apart by content, not by name
    EXPECT_EQ(p.Width(), 1);
    p.LoadFromFile(dir.Write("b.bmp", jpeg));
    EXPECT_EQ(p.Width(), 16);
    EXPECT_THROW(p.LoadFromFile(dir.File("none.jpg")), EFileError);
    p.Clear();
    EXPECT_TRUE(p.Empty());
    EXPECT_EQ(p.Width(), 0);
}
