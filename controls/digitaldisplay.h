#pragma once

#include "controls/markup/color.h"

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

    int Seconds() const { return m_seconds; }
    void SetSeconds(int value);
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor value);
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value);
    const QString& DisplayText() const { return m_text; }

    // Draws the display into its off-screen picture and returns it.
    const QImage& Render();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int m_seconds = 0;
    TColor m_backColor = clBlack;
    TColor m_fontColor = clWindowText;
    QString m_text = QStringLiteral("  0:00");
    QImage m_buffer;
};
