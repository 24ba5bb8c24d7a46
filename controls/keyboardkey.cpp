#include "controls/keyboardkey.h"

#include "controls/colorbevel.h"
#include "controls/qtcolor.h"

#include <QPainter>

void TkeyboardKey::Draw(QPainter& painter, bool down) const
{
    painter.fillRect(Rect, ToQColor(Color));
    DrawColorBevel(painter, Rect, down ? TPanelBevel::bvLowered : TPanelBevel::bvRaised, Color, BevelWidth);
    painter.setFont(Font);
    painter.setPen(ToQColor(FontColor));
    painter.setBrush(Qt::NoBrush);
    painter.drawText(Rect, Qt::TextSingleLine | Qt::AlignCenter, Caption);
}
