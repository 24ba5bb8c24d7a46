#pragma once

#include "markup/color.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>

class QPainter;

// One key of the on-screen keyboard: its cell, caption and the code it reports. The control copies its
// colour, font and bevel width into every key when it lays them out.
class TkeyboardKey
{
public:
    TkeyboardKey(QString caption, std::uint16_t code) : Caption(std::move(caption)), Code(code) {}

    // Up: a raised colour bevel; down: a lowered one; the caption centred on one line over either.
    void Draw(QPainter& painter, bool down) const;

    QString Caption;
    std::uint16_t Code = 0;
    TColor Color = clBtnFace;
    TColor FontColor = clWindowText;
    QFont Font;
    QRect Rect;
    int BevelWidth = 2;
    // Drawn down (pressed and not yet left or released).
    bool Down = false;
};
