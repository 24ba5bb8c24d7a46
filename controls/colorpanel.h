#pragma once

#include "controls/markup/color.h"
#include "controls/orvanepanel.h"
#include "controls/textalignment.h"

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

    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value);
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TPanelBevel value);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int value);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
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

    TColor m_color = clBtnFace;
    TColor m_fontColor = clWindowText;
    QString m_caption;
    TAlignment m_alignment = TAlignment::taCenter;
    TPanelBevel m_bevelOuter = TPanelBevel::bvRaised;
    TPanelBevel m_bevelInner = TPanelBevel::bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    TBorderStyle m_borderStyle = TBorderStyle::bsNone;
};
