#pragma once

#include "controls/markup/color.h"

#include <QImage>
#include <QSize>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <string>

class TThreadedTimer;

// The offset after one step of `inc` pixels along a strip `stripWidth` wide, wrapped so that it never
// runs past a whole strip (an offset of exactly minus the strip width is kept for one tick).
int NextBannerOffset(int offset, int inc, int stripWidth);
// An offset brought back within one strip width.
int WrapBannerOffset(int offset, int stripWidth);

// One line of tagged caption text that, while scrolling is on, moves leftwards in a seamless loop: the
// end of the text (and the Spaces after it) is followed at once by its beginning. The strip is at least
// as wide as the banner, so a short caption scrolls as a banner-wide band.
class TScrollBanner3 : public QWidget
{
    Q_OBJECT

public:
    // A banner being designed has no timer and draws a dashed frame.
    explicit TScrollBanner3(QWidget* parent = nullptr, bool designing = false);
    ~TScrollBanner3() override;

    const std::string& Caption() const { return m_caption; }
    // Every new caption starts at the left edge.
    void SetCaption(const std::string& value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value);
    int Spaces() const { return m_spaces; }
    void SetSpaces(int value);
    // Milliseconds between steps (the timer's interval); 0 stops and returns to the left edge.
    int ScrollDelay() const;
    void SetScrollDelay(int value);
    bool ScrollEnabled() const { return m_scrollEnabled; }
    void SetScrollEnabled(bool value);
    // Pixels per step, 1 to 100.
    int ScrollInc() const { return m_scrollInc; }
    void SetScrollInc(int value);

    bool Designing() const { return m_designing; }
    int Offset() const { return m_offset; }
    const QImage& Strip() const { return m_strip; }
    TThreadedTimer* Timer() const { return m_timer.get(); }

    void RenderBuffer();
    // One step to the left, drawn at once.
    void TimerTick();
    // Draws the banner as it shows into a picture of its size.
    void PaintTo(QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::string m_caption;
    TColor m_color = clBlack;
    TColor m_fontColor = clWindowText;
    int m_spaces = 0;
    int m_storedDelay = 1000;
    bool m_scrollEnabled = false;
    int m_scrollInc = 10;
    bool m_designing = false;
    QImage m_strip;
    int m_offset = 0;
    QSize m_paintedSize;
    std::unique_ptr<TThreadedTimer> m_timer;
};
