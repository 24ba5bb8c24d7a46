#pragma once

#include <Qt>

// The framework's horizontal text alignment; the values are the stored ones.
enum class TAlignment
{
    taLeftJustify = 0,
    taRightJustify = 1,
    taCenter = 2
};

// The Qt flag of an alignment: AlignLeft, AlignRight or AlignHCenter.
constexpr Qt::Alignment ToQtAlignment(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::taRightJustify:
        return Qt::AlignRight;
    case TAlignment::taCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}
