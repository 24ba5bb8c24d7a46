#pragma once

// Numbers drawn character by character in cells as wide as the font's "0", so that a changing digit
// never moves its neighbours.

#include <QPoint>
#include <QString>

#include <functional>
#include <vector>

class QFontMetrics;
class QPainter;

// Top-left corner of each character of a text `length` characters long, centred in a `width` x `height`
// area; cellWidth is the width of "0", textHeight the text's height, charWidth(i) the width of character
// i (from 0). Halves round to the even neighbour.
std::vector<QPoint> DigitCellPositions(int width, int height, int length, int cellWidth, int textHeight,
                                       const std::function<int(int index)>& charWidth);

// Draws text in digit cells centred in (0, 0, width, height) with the painter's font and pen.
void DrawDigitCells(QPainter& painter, int width, int height, const QString& text);
