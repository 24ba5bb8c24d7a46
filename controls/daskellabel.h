#pragma once

#include "controls/labelstyle.h"
#include "markup/color.h"

#include <QImage>
#include <QLabel>

// A label drawn plain, with a drop shadow or outlined, through an off-screen picture whose key colour
// $010101 stays transparent (text in exactly that colour does not show).
class TdaskelLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TdaskelLabel(QWidget* parent = nullptr);
    explicit TdaskelLabel(const QString& text, QWidget* parent = nullptr);
    ~TdaskelLabel() override;

    TlabelStyle LabelStyle() const { return labelStyle_; }
    void SetLabelStyle(TlabelStyle value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    // Shows "&x" as an underlined x and "&&" as "&". Off by default, so data shows as written.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    // Resizes the label to its text whenever text, font or style change.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    void SetCaption(const QString& value);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Draws the label into its off-screen picture and returns it (transparent where nothing was drawn).
    const QImage& Render();

    static constexpr TColor kKeyColor = 0x010101;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    virtual void DoDrawText(QPainter& painter, const QRect& rect, int flags);

private:
    int TextFlags() const;
    void AdjustBounds();

    TlabelStyle labelStyle_ = TlabelStyle::lsNormal;
    TColor fontColor_ = clWindowText;
    bool showAccelChar_ = false;
    bool autoSize_ = false;
    QImage buffer_;
};
