#pragma once

#include "markup/fontdesc.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Caption mark-up: one line of runs and tags. "<b>", "</b>", "<i>", "</i>", "<u>", "</u>" switch styles;
// "<font name=... color=... size=...>" sets the font; tag text is matched ignoring case; any other tag shows
// its text without the brackets; an unterminated tag ends the text.
//
// The mark-up has no entities, so data placed into a caption must go through EscapeMarkup: kMarkupEscape
// makes the byte after it plain text. Legacy captions never hold control characters and read as before.

constexpr char kMarkupEscape = '\x1B';

// Data text made safe for a caption: "<", ">" and the escape character itself are escaped.
std::string EscapeMarkup(std::string_view text);
// Escaped text back to plain text (an escape at the very end is dropped).
std::string UnescapeMarkup(std::string_view text);

// The plain text of a caption: tags removed, escapes resolved.
std::string StripTags(std::string_view text);

// Applies one tag's text (without the brackets) to a font; false for an unknown tag.
bool ApplyTag(std::string_view tag, TFontDesc& font);

// Mark-up that switches to `font`:
// <font name="NAME" color=##RRGGBB size=N> followed by <b> or </b>, <i> or </i>, <u> or </u>.
std::string FontToTags(const TFontDesc& font);

// One piece of a caption drawn in one font.
struct TtaggedRun
{
    std::string Text;
    TFontDesc Font;

    friend bool operator==(const TtaggedRun&, const TtaggedRun&) = default;
};

using TtaggedRunVisitor = std::function<void(std::string_view text, const TFontDesc& font)>;

// Visits every non-empty run in drawing order with the font it is drawn in, starting from `font`.
// With forceColor, every run after a tag takes forcedColor (a later colour tag is overridden too); the text
// before the first tag keeps the starting colour. The text of an unknown tag is drawn before the
// forced colour of its own step is set.
void ForEachTaggedRun(std::string_view text, const TFontDesc& font, bool forceColor, TColor forcedColor,
                      const TtaggedRunVisitor& visit);
std::vector<TtaggedRun> ParseTaggedText(std::string_view text, const TFontDesc& font, bool forceColor = false,
                                        TColor forcedColor = clBlack);
