// Caption mark-up: parsing and StripTags take any text; escaped data comes back unchanged through both.
#include "fuzz/fuzzcheck.h"

#include "markup/taggedtext.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TFontDesc font;
    for (const TtaggedRun& run : ParseTaggedText(text, font, size % 2 == 0, clRed)) {
        FuzzCheck(!run.Text.empty(), "no empty runs");
        font = run.Font;
    }
    ParseTaggedText(FontToTags(font) + "x", TFontDesc());
    const std::string plain = StripTags(text);
    FuzzCheck(plain.size() <= text.size(), "stripping never adds text");

    const std::string escaped = EscapeMarkup(text);
    FuzzCheck(UnescapeMarkup(escaped) == text, "escaped text unescapes to itself");
    FuzzCheck(StripTags(escaped) == text, "escaped text has no tags");
    const auto runs = ParseTaggedText(escaped, TFontDesc());
    FuzzCheck(text.empty() ? runs.empty() : runs.size() == 1 && runs[0].Text == text,
              "escaped text is one plain run");
    return 0;
}
