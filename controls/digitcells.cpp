#include "controls/digitcells.h"

#include "controls/skindraw.h"

#include <QFontMetrics>
#include <QPainter>

std::vector<QPoint> DigitCellPositions(int width, int height, int length, int cellWidth, int textHeight,
                                       const std::function<int(int index)>& charWidth)
{
    std::vector<QPoint> positions;
    positions.reserve(static_cast<std::size_t>(length > 0 ? length : 0));
    const int x0 = RoundHalfEven(width / 2.0 - length * cellWidth / 2.0);
    const int y = RoundHalfEven(height / 2.0 - textHeight / 2.0);
    for (int i = 0; i < length; ++i) {
        const int x = cellWidth * i + x0 + RoundHalfEven(cellWidth / 2.0 - charWidth(i) / 2.0);
        positions.emplace_back(x, y);
    }
    return positions;
}

void DrawDigitCells(QPainter& painter, int width, int height, const QString& text)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const auto positions = DigitCellPositions(width, height, static_cast<int>(text.size()),
                                              metrics.horizontalAdvance(QLatin1Char('0')), metrics.height(),
                                              [&](int i) { return metrics.horizontalAdvance(text.at(i)); });
    for (std::size_t i = 0; i < positions.size(); ++i) {
        painter.drawText(positions[i] + QPoint(0, metrics.ascent()), QString(text.at(static_cast<int>(i))));
    }
}
