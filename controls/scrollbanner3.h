#pragma once

#include "markup/color.h"

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

    const std::string& Caption() const { return caption_; }
    // Every new caption starts at the left edge.
    void SetCaption(const std::string& value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    int Spaces() const { return spaces_; }
    void SetSpaces(int value);
    // Milliseconds between steps (the timer's interval); 0 stops and returns to the left edge.
    int ScrollDelay() const;
    void SetScrollDelay(int value);
    bool ScrollEnabled() const { return scrollEnabled_; }
    void SetScrollEnabled(bool value);
    // Pixels per step, 1 to 100.
    int ScrollInc() const { return scrollInc_; }
    void SetScrollInc(int value);

    bool Designing() const { return designing_; }
    int Offset() const { return offset_; }
    const QImage& Strip() const { return strip_; }
    TThreadedTimer* Timer() const { return timer_.get(); }

    void RenderBuffer();
    // One step to the left, drawn at once.
    void TimerTick();
    // Draws the banner as it shows into a picture of its size.
    void PaintTo(QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::string caption_;
    TColor color_ = clBlack;
    TColor fontColor_ = clWindowText;
    int spaces_ = 0;
    int storedDelay_ = 1000;
    bool scrollEnabled_ = false;
    int scrollInc_ = 10;
    bool designing_ = false;
    QImage strip_;
    int offset_ = 0;
    QSize paintedSize_;
    std::unique_ptr<TThreadedTimer> timer_;
};
