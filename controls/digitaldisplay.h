#pragma once

#include "markup/color.h"

#include <QImage>
#include <QString>
#include <QWidget>

// The text of a signed number of seconds: a sign ("-" or a blank), then "%2d:%2.2d" of the whole minutes
// and the remaining seconds; 0 gives "  0:00".
QString SecondsToDisplayText(int seconds);

// A signed time in minutes and seconds, each character centred in its own digit cell.
class TdigitalDisplay : public QWidget
{
    Q_OBJECT

public:
    explicit TdigitalDisplay(QWidget* parent = nullptr);
    ~TdigitalDisplay() override;

    int Seconds() const { return seconds_; }
    void SetSeconds(int value);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    const QString& DisplayText() const { return text_; }

    // Draws the display into its off-screen picture and returns it.
    const QImage& Render();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int seconds_ = 0;
    TColor backColor_ = clBlack;
    TColor fontColor_ = clWindowText;
    QString text_ = QStringLiteral("  0:00");
    QImage buffer_;
};
