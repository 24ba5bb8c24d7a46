#pragma once

#include "markup/color.h"

#include <cstdint>
#include <initializer_list>
#include <string>

enum class TFontStyle : std::uint8_t
{
    fsBold = 0x01,
    fsItalic = 0x02,
    fsUnderline = 0x04,
    fsStrikeOut = 0x08,
};

// A set of font styles.
class TFontStyles
{
public:
    constexpr TFontStyles() = default;
    constexpr TFontStyles(std::initializer_list<TFontStyle> styles)
    {
        for (const TFontStyle s : styles)
            bits_ |= static_cast<std::uint8_t>(s);
    }

    constexpr bool Has(TFontStyle s) const { return (bits_ & static_cast<std::uint8_t>(s)) != 0; }
    constexpr TFontStyles With(TFontStyle s) const { return FromBits(bits_ | static_cast<std::uint8_t>(s)); }
    constexpr TFontStyles Without(TFontStyle s) const
    {
        return FromBits(bits_ & ~static_cast<std::uint8_t>(s));
    }
    constexpr TFontStyles Toggled(TFontStyle s, bool on) const { return on ? With(s) : Without(s); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint8_t Bits() const { return bits_; }
    static constexpr TFontStyles FromBits(unsigned bits)
    {
        TFontStyles r;
        r.bits_ = static_cast<std::uint8_t>(bits & 0x0F);
        return r;
    }

    friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
    std::uint8_t bits_ = 0;
};

// A font as the program stores and marks it up: face name, size in points, colour and styles.
// A size of 0 or less means the platform's default size. QFont conversions live in controls/qtfont.h.
struct TFontDesc
{
    std::string Name = "MS Sans Serif";
    int Size = 8;
    TColor Color = clWindowText;
    TFontStyles Style;

    bool Bold() const { return Style.Has(TFontStyle::fsBold); }
    bool Italic() const { return Style.Has(TFontStyle::fsItalic); }
    bool Underline() const { return Style.Has(TFontStyle::fsUnderline); }
    bool StrikeOut() const { return Style.Has(TFontStyle::fsStrikeOut); }

    friend bool operator==(const TFontDesc&, const TFontDesc&) = default;
};
