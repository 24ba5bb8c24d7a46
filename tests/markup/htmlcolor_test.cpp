#include "markup/htmlcolor.h"

#include <gtest/gtest.h>

TEST(HtmlColor, WritesRedGreenBlueFromTheReversedBytes)
{
    EXPECT_EQ(ColorToHtml(RGBColor(0x12, 0x34, 0x56)), "#123456");
    EXPECT_EQ(ColorToHtml(0x00563412), "#123456");
    EXPECT_EQ(ColorToHtml(clRed), "#FF0000");
    EXPECT_EQ(ColorToHtml(clBlue), "#0000FF");
    EXPECT_EQ(ColorToHtml(RGBColor(0xab, 0xcd, 0xef)), "#ABCDEF");
}

TEST(HtmlColor, ReadsSixHexDigitsWithOrWithoutHash)
{
    EXPECT_EQ(HtmlToColor("00ff00"), RGBColor(0, 255, 0));
    EXPECT_EQ(HtmlToColor("#00FF00"), RGBColor(0, 255, 0));
    EXPECT_EQ(HtmlToColor("#123456"), 0x00563412u);
    EXPECT_EQ(HtmlToColor("#aBcDeF"), RGBColor(0xab, 0xcd, 0xef));
    EXPECT_EQ(HtmlToColor("#0FF00"), clBlack);
    EXPECT_EQ(HtmlToColor("FF00"), clBlack);
    EXPECT_EQ(HtmlToColor("red"), clBlack);
    EXPECT_EQ(HtmlToColor("##FF0000"), clBlack);
    EXPECT_EQ(HtmlToColor("GG0000"), clBlack);
    EXPECT_EQ(HtmlToColor(""), clBlack);
    EXPECT_EQ(HtmlToColor("#FF00000"), clBlack);
}

TEST(HtmlColor, SystemColoursAreWrittenAsTheirCurrentValue)
{
    // Without a palette the classic scheme stands in.
    EXPECT_EQ(ColorToHtml(clBtnFace), "#D4D0C8");
    EXPECT_EQ(ColorToHtml(clWindow), "#FFFFFF");
    EXPECT_EQ(ColorToRGB(clHighlight), RGBColor(10, 36, 106));
    EXPECT_EQ(ColorToRGB(0x800000FFu), clBlack);
    EXPECT_EQ(ColorToRGB(clNone), 0xFFFFFFu);

    SetSystemColorResolver([](int index) { return index == 15 ? RGBColor(1, 2, 3) : clWhite; });
    EXPECT_EQ(ColorToHtml(clBtnFace), "#010203");
    EXPECT_EQ(ColorToHtml(clRed), "#FF0000");
    SetSystemColorResolver(nullptr);
    EXPECT_EQ(ColorToHtml(clBtnFace), "#D4D0C8");
}
