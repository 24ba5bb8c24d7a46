#include "htmlrender.h"

#include "markup/taggedtext.h"
#include "platform/qtstring.h"
#include "qtcolor.h"
#include "qtfont.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int kTextFlags = Qt::TextShowMnemonic | Qt::TextExpandTabs;

QFontMetrics Metrics(const QFont& font, const QPaintDevice* device)
{
    return device ? QFontMetrics(font, device) : QFontMetrics(font);
}

int RunWidth(const QFontMetrics& fm, const QString& run, int flags)
{
    if (run.isEmpty())
        return 0;
    // Only text that mnemonics or tabs change is measured the slower way, whose widths round up.
    if (((flags & Qt::TextShowMnemonic) && run.contains(u'&')) ||
        ((flags & Qt::TextExpandTabs) && run.contains(u'\t')))
        return fm.size(Qt::TextSingleLine | (flags & kTextFlags), run).width();
    return fm.horizontalAdvance(run);
}

// Top of a run's line box. A run that fits shares the base font's baseline, and the base font's line box is
// centred in the rectangle (the shift rounds toward zero).
int RunTop(const QFontMetrics& fm, const QRect& rect, const QFontMetrics& base, int flags)
{
    const int height = rect.height();
    const int shift = (height - base.height()) / 2;
    if (height > fm.height())
        return rect.top() + height - fm.height() - (base.descent() - fm.descent()) - shift;
    int top = rect.top() - shift;
    if (flags & Qt::AlignVCenter)
        top += (height - fm.height()) / 2;
    else if (flags & Qt::AlignBottom)
        top += height - fm.height();
    return top;
}

int LineStart(const QRect& rect, int width, int flags)
{
    if (flags & Qt::AlignRight)
        return rect.left() + rect.width() - width;
    if (flags & Qt::AlignHCenter)
        return rect.left() + (rect.width() - width) / 2;
    return rect.left();
}

void DrawRun(QPainter& painter, const QString& text, int left, int top, int width, int height, int flags)
{
    if (!(flags & kTextFlags)) {
        // The plain path: no layout pass for prefixes or tabs.
        painter.drawText(QPoint(left, top + painter.fontMetrics().ascent()), text);
        return;
    }
    painter.drawText(
        QRect(left, top, std::max(width, 1), height),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip | (flags & kTextFlags), text);
}

} // namespace

ThtmlLineLayout LayoutTaggedText(std::string_view text, const QRect& rect, const QFont& font,
                                 const QColor& color, const QFontMetrics& base, int flags, bool forceColor,
                                 const QColor& forcedColor, const QPaintDevice* device)
{
    ThtmlLineLayout line;
    const TFontDesc baseDesc = FromQFont(font, FromQColor(color));
    const TColor forced = FromQColor(forcedColor);
    ForEachTaggedRun(text, baseDesc, forceColor, forced, [&](std::string_view run, const TFontDesc& desc) {
        ThtmlRunLayout r;
        r.Text = platform::ToQString(run);
        r.Font = OverlayFontDesc(font, baseDesc, desc);
        if (desc.Color == baseDesc.Color)
            r.Color = color;
        else if (forceColor && desc.Color == forced)
            r.Color = forcedColor;
        else
            r.Color = ToQColor(desc.Color);
        const QFontMetrics fm = Metrics(r.Font, device);
        r.Width = RunWidth(fm, r.Text, flags);
        r.Top = RunTop(fm, rect, base, flags);
        r.Height = fm.height();
        r.Baseline = r.Top + fm.ascent();
        line.Runs.push_back(std::move(r));
    });
    int width = 0;
    for (const ThtmlRunLayout& r : line.Runs)
        width += r.Width;
    int x = LineStart(rect, width, flags);
    for (ThtmlRunLayout& r : line.Runs) {
        r.Left = x;
        x += r.Width;
    }
    line.Right = x;
    return line;
}

int DrawTaggedText(std::string_view text, const QRect& rect, QPainter& painter, const QFontMetrics& base,
                   int flags, bool forceColor, const QColor& forcedColor)
{
    const ThtmlLineLayout line = LayoutTaggedText(text, rect, painter.font(), painter.pen().color(), base,
                                                  flags, forceColor, forcedColor, painter.device());
    if (line.Runs.empty())
        return line.Right;
    painter.save();
    if (!(flags & Qt::TextDontClip))
        painter.setClipRect(rect, Qt::IntersectClip);
    painter.setBackgroundMode(Qt::TransparentMode);
    for (const ThtmlRunLayout& r : line.Runs) {
        painter.setFont(r.Font);
        painter.setPen(r.Color);
        DrawRun(painter, r.Text, r.Left, r.Top, r.Width, r.Height, flags);
    }
    painter.restore();
    return line.Right;
}

int DrawTextRun(const QString& run, const QRect& rect, QPainter& painter, const QFontMetrics& base, int flags)
{
    const QFontMetrics fm = Metrics(painter.font(), painter.device());
    const int width = RunWidth(fm, run, flags);
    if (width == 0)
        return 0;
    painter.save();
    if (!(flags & Qt::TextDontClip))
        painter.setClipRect(rect, Qt::IntersectClip);
    painter.setBackgroundMode(Qt::TransparentMode);
    DrawRun(painter, run, rect.left(), RunTop(fm, rect, base, flags), width, fm.height(), flags);
    painter.restore();
    return width;
}

QSize MeasureTaggedText(std::string_view text, const QFont& font, int flags, const QPaintDevice* device)
{
    const QFontMetrics base = Metrics(font, device);
    const TFontDesc baseDesc = FromQFont(font, clBlack);
    std::vector<QFontMetrics> metrics;
    int width = 0;
    int tallest = base.height();
    ForEachTaggedRun(text, baseDesc, false, clBlack, [&](std::string_view run, const TFontDesc& desc) {
        const QFontMetrics& fm = metrics.emplace_back(Metrics(OverlayFontDesc(font, baseDesc, desc), device));
        width += RunWidth(fm, platform::ToQString(run), flags);
        tallest = std::max(tallest, fm.height());
    });
    auto fits = [&](int height) {
        const QRect rect(0, 0, 1, height);
        for (const QFontMetrics& fm : metrics) {
            const int top = RunTop(fm, rect, base, flags);
            if (top < 0 || top + fm.height() > height)
                return false;
        }
        return true;
    };
    // Centring the base line box leaves room above and below it; a few rows more always suffice.
    const int limit = 3 * tallest + base.height();
    int height = tallest;
    while (height < limit && !fits(height))
        ++height;
    return QSize(width, height);
}
