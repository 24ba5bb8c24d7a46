#include "controls/keyboardkey.h"

#include "controls/colorbevel.h"
#include "controls/skindraw.h"

#include <QPainter>

void TkeyboardKey::Draw(QPainter& painter, bool down) const
{
    painter.fillRect(Rect, SkinColorToQColor(Color));
    DrawColorBevel(painter, Rect, down ? TPanelBevel::bvLowered : TPanelBevel::bvRaised, Color, BevelWidth);
    painter.setFont(Font);
    painter.setPen(SkinColorToQColor(FontColor));
    painter.setBrush(Qt::NoBrush);
    painter.drawText(Rect, Qt::TextSingleLine | Qt::AlignCenter, Caption);
}
