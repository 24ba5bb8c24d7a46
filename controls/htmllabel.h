#pragma once

#include "controls/labelstyle.h"

#include <QFrame>

#include <string>

// A one-line label whose caption is tagged text (controls/markup/taggedtext.h).
// The caption's base font and colour are the widget's font and its palette's WindowText.
class ThtmlLabel : public QFrame
{
    Q_OBJECT
public:
    explicit ThtmlLabel(QWidget* parent = nullptr);

    const std::string& Caption() const { return caption_; }
    void SetCaption(std::string caption);

    TlabelStyle LabelStyle() const { return labelStyle_; }
    void SetLabelStyle(TlabelStyle value);

    // Horizontal placement of the line and its vertical layout in the label; AlignVCenter (the default)
    // centres the base font's line.
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment value);

    // Resizes the label to its caption whenever caption, font or style change; the left edge stays, or the
    // right edge or the centre for right-aligned or centred labels. Off by default: a label keeps the size
    // it is given.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

    // Draw "&x" as an underlined x and "&&" as "&". Off by default, so that data shows as written.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Draws the caption into `rect` with the given text flags, in the label's style.
    virtual void DoDrawText(QPainter& painter, const QRect& rect, int flags);

private:
    int TextFlags() const;
    void AdjustBounds();

    std::string caption_;
    TlabelStyle labelStyle_ = TlabelStyle::lsNormal;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    bool autoSize_ = false;
    bool showAccelChar_ = false;
};
