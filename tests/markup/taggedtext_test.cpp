#include "markup/taggedtext.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TFontDesc Base()
{
    TFontDesc f;
    f.Name = "Arial";
    f.Size = 10;
    f.Color = clNavy;
    return f;
}

TFontDesc With(TFontDesc f, TFontStyle s)
{
    f.Style = f.Style.With(s);
    return f;
}

std::vector<std::string> Texts(const std::vector<TtaggedRun>& runs)
{
    std::vector<std::string> out;
    for (const TtaggedRun& r : runs)
        out.push_back(r.Text);
    return out;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(TaggedText, StyleTagsSwitchStylesRunByRun)
{
    const TFontDesc base = Base();
    const auto runs = ParseTaggedText("<b>Bold</b> plain", base);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (TtaggedRun{"Bold", With(base, TFontStyle::fsBold)}));
    EXPECT_EQ(runs[1], (TtaggedRun{" plain", base}));

    const auto mixed = ParseTaggedText("<I>a<u>b</I>c</U>d<B>e", base);
    ASSERT_EQ(mixed.size(), 5u);
    EXPECT_EQ(mixed[0].Font, With(base, TFontStyle::fsItalic));
    EXPECT_EQ(mixed[1].Font, With(With(base, TFontStyle::fsItalic), TFontStyle::fsUnderline));
    EXPECT_EQ(mixed[2].Font, With(base, TFontStyle::fsUnderline));
    EXPECT_EQ(mixed[3].Font, base);
    EXPECT_EQ(mixed[4].Font, With(base, TFontStyle::fsBold));
}

TEST(TaggedText, UnknownTagsShowTheirTextAndUnterminatedTagsEndTheLine)
{
    const TFontDesc base = Base();
    EXPECT_EQ(Texts(ParseTaggedText("a<x>b", base)), (Strings{"a", "x", "b"}));
    EXPECT_EQ(Texts(ParseTaggedText("a<b", base)), (Strings{"a"}));
    EXPECT_EQ(Texts(ParseTaggedText("a>b", base)), (Strings{"a>b"}));
    EXPECT_EQ(Texts(ParseTaggedText("x</font>y", base)), (Strings{"x", "/font", "y"}));
    EXPECT_EQ(Texts(ParseTaggedText("x<fonts>y", base)), (Strings{"x", "y"}));
    EXPECT_EQ(Texts(ParseTaggedText("<>", base)), Strings{});
    EXPECT_EQ(Texts(ParseTaggedText("", base)), Strings{});
    EXPECT_EQ(Texts(ParseTaggedText("a & b", base)), (Strings{"a & b"}));
    EXPECT_EQ(Texts(ParseTaggedText("<b>x<y>z<", base)), (Strings{"x", "y", "z"}));

    TFontDesc f = base;
    EXPECT_TRUE(ApplyTag("b", f));
    EXPECT_TRUE(ApplyTag("/B", f));
    EXPECT_TRUE(ApplyTag("font", f));
    EXPECT_TRUE(ApplyTag("FONTSIZE=3", f));
    EXPECT_FALSE(ApplyTag("/font", f));
    EXPECT_FALSE(ApplyTag("bb", f));
    EXPECT_FALSE(ApplyTag("", f));
    EXPECT_EQ(f, base);
}

TEST(TaggedText, FontTagSetsNameColourAndSizeIgnoringCase)
{
    const TFontDesc base = Base();
    const auto runs = ParseTaggedText(R"(<font name="Courier New" size=14 color=#FF0000>T)", base);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Text, "T");
    EXPECT_EQ(runs[0].Font.Name, "COURIER NEW");
    EXPECT_EQ(runs[0].Font.Size, 14);
    EXPECT_EQ(runs[0].Font.Color, clRed);
    EXPECT_EQ(runs[0].Font.Style, base.Style);

    auto font = [&](const char* tag) {
        TFontDesc f = base;
        EXPECT_TRUE(ApplyTag(tag, f)) << tag;
        return f;
    };
    EXPECT_EQ(font("font color=red").Color, clBlack);
    EXPECT_EQ(font("font color=#FF00").Color, clBlack);
    EXPECT_EQ(font("FONT COLOR=00ff00").Color, clLime);
    EXPECT_EQ(font("font color=##00FF00").Color, clLime);
    EXPECT_EQ(font("font color=\"#0000ff\"").Color, clBlue);
    EXPECT_EQ(font("font size=").Size, 10);
    EXPECT_EQ(font("font size=abc").Size, 0);
    EXPECT_EQ(font("font size=12x").Size, 0);
    EXPECT_EQ(font("font size=\"12\"").Size, 12);
    EXPECT_EQ(font("font size=99999999999999999999").Size, INT_MAX);
    EXPECT_EQ(font("font name=#Arial").Name, "ARIAL");
    EXPECT_EQ(font("font face=Tahoma size=9").Size, 9);
    EXPECT_EQ(font("font face=Tahoma size=9").Name, "Arial");
    EXPECT_EQ(font("font  size=9").Size, 9);
    EXPECT_EQ(font("font size").Size, 10);
    // Without a closing quote only the key goes; reading resumes at the quote.
    const TFontDesc open = font(R"(font name="Courier size=14)");
    EXPECT_EQ(open.Name, "Arial");
    EXPECT_EQ(open.Size, 14);
    // A quote as the last character is an ordinary value.
    EXPECT_EQ(font(R"(font name=")").Name, "\"");
    // Font tags keep the styles; style tags keep name, size and colour.
    const TFontDesc bold = With(base, TFontStyle::fsBold);
    TFontDesc f = bold;
    ApplyTag("font size=20", f);
    EXPECT_TRUE(f.Bold());
    EXPECT_EQ(f.Color, base.Color);
}

TEST(TaggedText, ForcedColourSkipsTheTextBeforeTheFirstTag)
{
    const TFontDesc base = Base();
    const auto runs = ParseTaggedText("pre<x>post<font color=#00FF00>green<b>bold", base, true, clRed);
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].Font.Color, clNavy); // before the first tag
    EXPECT_EQ(runs[1].Text, "x");          // an unknown tag's text comes before its step's forcing
    EXPECT_EQ(runs[1].Font.Color, clNavy);
    EXPECT_EQ(runs[2].Font.Color, clRed);
    EXPECT_EQ(runs[3].Text, "green");
    EXPECT_EQ(runs[3].Font.Color, clRed);
    EXPECT_EQ(runs[4].Font.Color, clRed);
    EXPECT_TRUE(runs[4].Font.Bold());

    const auto unforced = ParseTaggedText("pre<font color=#00FF00>green", base);
    EXPECT_EQ(unforced[1].Font.Color, clLime);
}

TEST(TaggedText, FontToTagsWritesTheFontAndReadsBack)
{
    TFontDesc f;
    f.Name = "Arial";
    f.Size = 10;
    f.Color = clRed;
    f.Style = {TFontStyle::fsBold};
    EXPECT_EQ(FontToTags(f), R"(<font name="Arial" color=##FF0000 size=10><b></i></u>)");
    f.Style = {TFontStyle::fsItalic, TFontStyle::fsUnderline};
    f.Color = RGBColor(1, 2, 3);
    EXPECT_EQ(FontToTags(f), R"(<font name="Arial" color=##010203 size=10></b><i><u>)");
    f.Color = clWindowText;
    EXPECT_EQ(FontToTags(f), R"(<font name="Arial" color=##000000 size=10></b><i><u>)");

    TFontDesc other;
    other.Name = "Verdana";
    other.Size = 20;
    other.Style = {TFontStyle::fsBold, TFontStyle::fsStrikeOut};
    const TFontDesc target{"MS Sans Serif", 8, RGBColor(0x12, 0x34, 0x56), {TFontStyle::fsItalic}};
    const auto runs = ParseTaggedText(FontToTags(target) + "x", other);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Font.Name, "MS SANS SERIF");
    EXPECT_EQ(runs[0].Font.Size, 8);
    EXPECT_EQ(runs[0].Font.Color, target.Color);
    // Strike-out has no tag and stays as it was.
    EXPECT_EQ(runs[0].Font.Style, (TFontStyles{TFontStyle::fsItalic, TFontStyle::fsStrikeOut}));
}

TEST(TaggedText, StripTagsKeepsUnpairedBrackets)
{
    EXPECT_EQ(StripTags("a > b <i>c</i>"), "a > b c");
    EXPECT_EQ(StripTags("<b>Bold</b> plain"), "Bold plain");
    EXPECT_EQ(StripTags("a<b"), "a<b");
    EXPECT_EQ(StripTags("x<a>y<"), "xy<");
    EXPECT_EQ(StripTags("<<b>>"), ">");
    EXPECT_EQ(StripTags("a<b<c>d"), "ad");
    EXPECT_EQ(StripTags(R"(<font name="Courier New" size=14>T</font>)"), "T");
    EXPECT_EQ(StripTags(""), "");
}

TEST(TaggedText, EscapedDataShowsExactlyAsWritten)
{
    const std::string artist = "<Unknown> & AC>DC";
    const std::string title = "a<b>c\x1B<i>";
    const TFontDesc base = Base();
    TFontDesc second = base;
    second.Size = 20;
    const std::string caption = "<b>" + EscapeMarkup(artist) + FontToTags(second) + EscapeMarkup(title);
    const auto runs = ParseTaggedText(caption, base);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Text, artist);
    EXPECT_TRUE(runs[0].Font.Bold());
    EXPECT_EQ(runs[1].Text, title);
    EXPECT_EQ(runs[1].Font.Size, 20);
    EXPECT_FALSE(runs[1].Font.Bold());
    EXPECT_EQ(StripTags(caption), artist + title);

    EXPECT_EQ(EscapeMarkup("plain text"), "plain text");
    EXPECT_EQ(UnescapeMarkup(EscapeMarkup(title)), title);
    EXPECT_EQ(UnescapeMarkup("a\x1B"), "a");
    // An escaped ">" inside a tag does not end it.
    EXPECT_EQ(Texts(ParseTaggedText("<x\x1B>y>z", base)), (Strings{"x>y", "z"}));
    TFontDesc named = base;
    named.Name = "Odd>Font";
    const auto odd = ParseTaggedText(FontToTags(named) + "t", base);
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].Font.Name, "ODD>FONT");
    EXPECT_EQ(odd[0].Text, "t");
}
