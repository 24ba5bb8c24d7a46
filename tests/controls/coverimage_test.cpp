#include "controlstest.h"

#include "controls/coverimage.h"
#include "core/songs/coverpicture.h"

TEST(CoverImage, RowsAndChannelsKeepTheirPlaceAndBadSizesGiveNoImage)
{
    // 3 x 2: packed rows (9 bytes each), which a QImage must not take as its own 12-byte aligned rows.
    TcoverPicture picture;
    picture.Assign(3, 2,
                   {255, 0, 0, 0, 255, 0, 0, 0, 255, //
                    1, 2, 3, 40, 50, 60, 255, 255, 255});
    const QImage image = ToQImage(picture);
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(image.pixel(2, 0) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(image.pixel(0, 1) & 0xFFFFFF, 0x010203u);
    EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0x28323Cu);
    EXPECT_EQ(image.pixel(2, 1) & 0xFFFFFF, picture.Pixel(2, 1));

    // The image owns its pixels: the picture may go first.
    picture.Clear();
    EXPECT_EQ(image.pixel(0, 1) & 0xFFFFFF, 0x010203u);
    EXPECT_TRUE(ToQImage(picture).isNull());

    TcoverPicture shortRows;
    shortRows.Assign(4, 4, std::vector<std::uint8_t>(4 * 4 * 3 - 1, 7));
    EXPECT_TRUE(ToQImage(shortRows).isNull());
}
