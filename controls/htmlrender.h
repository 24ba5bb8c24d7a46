#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QString>

#include <string_view>
#include <vector>

class QPainter;
class QPaintDevice;

// Drawing of tagged caption text (controls/markup/taggedtext.h) on one line.
//
// Runs are laid side by side from the rectangle's left. The caller's font is the line's base font: its
// line box is centred vertically in the rectangle, and every run whose font fits into the rectangle sits on
// the base font's baseline. Flags are Qt alignment and text flags: AlignRight and AlignHCenter place the
// whole line; Qt::TextShowMnemonic shows "&" prefixes; Qt::TextExpandTabs expands tabs; Qt::TextDontClip
// lets runs pass the rectangle, which otherwise clips them. Vertical alignment only acts on runs whose font
// is taller than the rectangle.

// One run as laid out: its font, colour and line box; Baseline = Top + ascent of Font.
struct ThtmlRunLayout
{
    QString Text;
    QFont Font;
    QColor Color;
    int Left = 0;
    int Width = 0;
    int Top = 0;
    int Height = 0;
    int Baseline = 0;
};

struct ThtmlLineLayout
{
    std::vector<ThtmlRunLayout> Runs;
    // The x coordinate after the last run.
    int Right = 0;
};

// Lays out `text` as DrawTaggedText draws it with `font` and `color` as the painter's.
// `device` gives the resolution of the fonts (the screen when null).
ThtmlLineLayout LayoutTaggedText(std::string_view text, const QRect& rect, const QFont& font,
                                 const QColor& color, const QFontMetrics& base, int flags,
                                 bool forceColor = false, const QColor& forcedColor = QColor(),
                                 const QPaintDevice* device = nullptr);

// Draws tagged text with the painter's font and pen colour as the base; the painter's font and pen are the
// same afterwards. Returns the x coordinate after the last run.
int DrawTaggedText(std::string_view text, const QRect& rect, QPainter& painter, const QFontMetrics& base,
                   int flags, bool forceColor = false, const QColor& forcedColor = QColor());

// Draws one plain run at rect.left() in the painter's font and pen; returns its width (0 when empty).
int DrawTextRun(const QString& run, const QRect& rect, QPainter& painter, const QFontMetrics& base,
                int flags);

// The size one line of tagged text needs: the runs' total width, and the least height at which every run's
// line box lies inside the rectangle.
QSize MeasureTaggedText(std::string_view text, const QFont& font, int flags = 0,
                        const QPaintDevice* device = nullptr);
