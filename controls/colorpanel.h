#pragma once

#include "controls/orvanepanel.h"
#include "controls/textalignment.h"
#include "markup/color.h"

#include <QString>
#include <QWidget>

enum class TBorderStyle
{
    bsNone,
    bsSingle
};

// A panel whose bevels are shaded from its own Color (see colorbevel.h), with a one-line caption centred
// vertically inside its bevels. Children sit inside the frame: the contents margins are the bevel extent.
class TcolorPanel : public QWidget
{
    Q_OBJECT

public:
    explicit TcolorPanel(QWidget* parent = nullptr);
    ~TcolorPanel() override;

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);

    // The client rectangle: the widget less the single-line border when there is one.
    QRect ClientRect() const;
    // Border plus bevels: the inner area is the client rectangle shrunk by this on every side.
    int Extent() const;
    QRect InnerRect() const;

    // Draws the panel as it shows: fill, bevels and caption.
    virtual void PaintTo(QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The caption in the inner area with the given brush mode.
    void PaintCaption(QPainter& painter, bool transparent);
    // A property that moves the inner area changed.
    virtual void FrameChanged();

private:
    void UpdateClientMargins();

    TColor color_ = clBtnFace;
    TColor fontColor_ = clWindowText;
    QString caption_;
    TAlignment alignment_ = TAlignment::taCenter;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = TBorderStyle::bsNone;
};
