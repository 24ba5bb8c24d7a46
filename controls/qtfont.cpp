#include "qtfont.h"

#include "platform/qtstring.h"
#include "qtcolor.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace {

void SetSize(QFont& font, int size)
{
    if (size > 0)
        font.setPointSize(std::min(size, kMaxFontPointSize));
    else
        font.setPointSizeF(QGuiApplication::font().pointSizeF());
}

void SetStyle(QFont& font, TFontStyle style, bool on)
{
    switch (style) {
    case TFontStyle::fsBold:
        font.setBold(on);
        break;
    case TFontStyle::fsItalic:
        font.setItalic(on);
        break;
    case TFontStyle::fsUnderline:
        font.setUnderline(on);
        break;
    case TFontStyle::fsStrikeOut:
        font.setStrikeOut(on);
        break;
    }
}

constexpr TFontStyle kStyles[] = {TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline,
                                  TFontStyle::fsStrikeOut};

} // namespace

QFont ToQFont(const TFontDesc& desc)
{
    QFont font(platform::ToQString(desc.Name));
    SetSize(font, desc.Size);
    for (const TFontStyle s : kStyles)
        SetStyle(font, s, desc.Style.Has(s));
    return font;
}

TFontDesc FromQFont(const QFont& font, TColor color)
{
    TFontDesc desc;
    desc.Name = platform::FromQString(font.family());
    desc.Size = font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
    desc.Color = color;
    desc.Style = TFontStyles()
                     .Toggled(TFontStyle::fsBold, font.bold())
                     .Toggled(TFontStyle::fsItalic, font.italic())
                     .Toggled(TFontStyle::fsUnderline, font.underline())
                     .Toggled(TFontStyle::fsStrikeOut, font.strikeOut());
    return desc;
}

QFont OverlayFontDesc(const QFont& base, const TFontDesc& from, const TFontDesc& to)
{
    QFont font = base;
    if (to.Name != from.Name)
        font.setFamily(platform::ToQString(to.Name));
    if (to.Size != from.Size)
        SetSize(font, to.Size);
    for (const TFontStyle s : kStyles)
        if (to.Style.Has(s) != from.Style.Has(s))
            SetStyle(font, s, to.Style.Has(s));
    return font;
}

void ApplyFontDesc(QWidget& widget, const TFontDesc& desc)
{
    widget.setFont(ToQFont(desc));
    QPalette palette = widget.palette();
    const QColor color = ToQColor(desc.Color);
    if (color.isValid()) {
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
            palette.setColor(QPalette::Active, role, color);
            palette.setColor(QPalette::Inactive, role, color);
        }
    }
    widget.setPalette(palette);
}

TFontDesc WidgetFontDesc(const QWidget& widget)
{
    return FromQFont(widget.font(), FromQColor(widget.palette().color(widget.foregroundRole())));
}
