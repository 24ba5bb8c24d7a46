#pragma once

// How a label draws its text: plain, with a drop shadow, or outlined in black.
enum class TlabelStyle
{
    lsNormal,
    lsShadow,
    lsBorder,
};
