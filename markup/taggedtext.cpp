#include "markup/taggedtext.h"

#include "markup/htmlcolor.h"
#include "platform/textcompare.h"

#include <climits>

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Position of the first unescaped `c` at or after `from` (which must not sit inside an escape pair).
std::size_t FindUnescaped(std::string_view text, char c, std::size_t from)
{
    std::size_t i = from;
    while (i < text.size()) {
        if (text[i] == kMarkupEscape)
            i += 2;
        else if (text[i] == c)
            return i;
        else
            ++i;
    }
    return npos;
}

std::string_view Slice(std::string_view text, std::size_t from, std::size_t to)
{
    return text.substr(from, to == npos ? npos : to - from);
}

int ReadSize(std::string_view value)
{
    if (value.empty())
        return 0;
    long long size = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return 0;
        size = std::min<long long>(size * 10 + (c - '0'), INT_MAX);
    }
    return static_cast<int>(size);
}

void ApplyItem(std::string_view item, TFontDesc& font)
{
    const std::size_t eq = item.find('=');
    if (eq == npos)
        return;
    const std::string_view key = item.substr(0, eq);
    std::string_view value = item.substr(eq + 1);
    if (value.size() > 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    if (!value.empty() && value.front() == '#')
        value.remove_prefix(1);
    if (key == "NAME")
        font.Name = std::string(value);
    else if (key == "COLOR")
        font.Color = HtmlToColor(value);
    else if (key == "SIZE")
        font.Size = ReadSize(value);
}

// Items are KEY=VALUE separated by single blanks; a value may be quoted to hold blanks.
void ApplyAttributes(std::string_view rest, TFontDesc& font)
{
    while (!rest.empty()) {
        const std::size_t eq = rest.find('=');
        if (eq == npos || eq + 1 == rest.size())
            return;
        std::size_t length;
        if (rest[eq + 1] == '"' && eq + 2 < rest.size()) {
            const std::size_t close = rest.find('"', eq + 2);
            // Without a closing quote only the key is taken; reading goes on at the opening quote.
            length = close == npos ? eq : close + 1;
        } else {
            const std::size_t blank = rest.find(' ');
            length = blank == npos ? rest.size() : blank;
        }
        ApplyItem(rest.substr(0, length), font);
        rest.remove_prefix(std::min(length + 1, rest.size()));
    }
}

} // namespace

std::string EscapeMarkup(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '<' || c == '>' || c == kMarkupEscape)
            out += kMarkupEscape;
        out += c;
    }
    return out;
}

std::string UnescapeMarkup(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kMarkupEscape) {
            if (++i == text.size())
                break;
        }
        out += text[i];
    }
    return out;
}

std::string StripTags(std::string_view text)
{
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t lt = FindUnescaped(text, '<', pos);
        if (lt == npos)
            break;
        const std::size_t gt = FindUnescaped(text, '>', lt + 1);
        if (gt == npos)
            break;
        out += UnescapeMarkup(Slice(text, pos, lt));
        pos = gt + 1;
    }
    out += UnescapeMarkup(text.substr(pos));
    return out;
}

bool ApplyTag(std::string_view tag, TFontDesc& font)
{
    const std::string t = platform::UpperCase(tag);
    struct StyleTag
    {
        const char* on;
        const char* off;
        TFontStyle style;
    };
    static constexpr StyleTag kStyles[] = {
        {"B", "/B", TFontStyle::fsBold},
        {"I", "/I", TFontStyle::fsItalic},
        {"U", "/U", TFontStyle::fsUnderline},
    };
    for (const StyleTag& s : kStyles) {
        if (t == s.on) {
            font.Style = font.Style.With(s.style);
            return true;
        }
        if (t == s.off) {
            font.Style = font.Style.Without(s.style);
            return true;
        }
    }
    if (t.compare(0, 4, "FONT") != 0)
        return false;
    if (t.find("FONT ") != std::string::npos)
        ApplyAttributes(std::string_view(t).substr(5), font);
    return true;
}

std::string FontToTags(const TFontDesc& font)
{
    std::string out = "<font name=\"";
    out += EscapeMarkup(font.Name);
    out += "\" color=#";
    out += ColorToHtml(font.Color);
    out += " size=";
    out += std::to_string(font.Size);
    out += '>';
    out += font.Bold() ? "<b>" : "</b>";
    out += font.Italic() ? "<i>" : "</i>";
    out += font.Underline() ? "<u>" : "</u>";
    return out;
}

void ForEachTaggedRun(std::string_view text, const TFontDesc& startFont, bool forceColor, TColor forcedColor,
                      const TtaggedRunVisitor& visit)
{
    TFontDesc font = startFont;
    auto draw = [&](const std::string& run) {
        if (!run.empty())
            visit(run, font);
    };
    std::size_t lt = FindUnescaped(text, '<', 0);
    draw(UnescapeMarkup(Slice(text, 0, lt)));
    while (lt != npos) {
        const std::size_t gt = FindUnescaped(text, '>', lt + 1);
        if (gt == npos)
            return;
        const std::string tag = UnescapeMarkup(Slice(text, lt + 1, gt));
        if (!ApplyTag(tag, font))
            draw(tag);
        lt = FindUnescaped(text, '<', gt + 1);
        if (forceColor)
            font.Color = forcedColor;
        draw(UnescapeMarkup(Slice(text, gt + 1, lt)));
    }
}

std::vector<TtaggedRun> ParseTaggedText(std::string_view text, const TFontDesc& font, bool forceColor,
                                        TColor forcedColor)
{
    std::vector<TtaggedRun> runs;
    ForEachTaggedRun(text, font, forceColor, forcedColor, [&](std::string_view run, const TFontDesc& f) {
        runs.push_back({std::string(run), f});
    });
    return runs;
}
