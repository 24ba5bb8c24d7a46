#pragma once

#include <cstdint>

// The framework's colour: a 32-bit value with red in the lowest byte, then green, then blue.
// A value with the top bit set names a system colour by the index in its low byte; it is resolved
// against the application palette at the Qt edge (see qtcolor.h in the controls library).
using TColor = std::uint32_t;

constexpr TColor RGBColor(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c)
{
    return static_cast<int>(c & 0xFF);
}
constexpr int GetGValue(TColor c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int GetBValue(TColor c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr bool IsSystemColor(TColor c)
{
    return (c & 0x80000000u) != 0;
}
constexpr int SystemColorIndex(TColor c)
{
    return static_cast<int>(c & 0xFF);
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// System colours (index in the low byte).
constexpr TColor clScrollBar = 0x80000000;
constexpr TColor clBackground = 0x80000001;
constexpr TColor clActiveCaption = 0x80000002;
constexpr TColor clInactiveCaption = 0x80000003;
constexpr TColor clMenu = 0x80000004;
constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowFrame = 0x80000006;
constexpr TColor clMenuText = 0x80000007;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clCaptionText = 0x80000009;
constexpr TColor clActiveBorder = 0x8000000A;
constexpr TColor clInactiveBorder = 0x8000000B;
constexpr TColor clAppWorkSpace = 0x8000000C;
constexpr TColor clHighlight = 0x8000000D;
constexpr TColor clHighlightText = 0x8000000E;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clGrayText = 0x80000011;
constexpr TColor clBtnText = 0x80000012;
constexpr TColor clInactiveCaptionText = 0x80000013;
constexpr TColor clBtnHighlight = 0x80000014;
constexpr TColor cl3DDkShadow = 0x80000015;
constexpr TColor cl3DLight = 0x80000016;
constexpr TColor clInfoText = 0x80000017;
constexpr TColor clInfoBk = 0x80000018;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The current RGB value of a colour: system colours go through the installed resolver, other values keep
// their low three bytes. Without a resolver (core code and its tests) the classic Windows defaults apply;
// the controls library installs one that reads the application palette (InstallPaletteColorResolver).
TColor ColorToRGB(TColor color);
// The RGB value of system colour `index` (0-30) in the classic Windows scheme; 0 for other indexes.
TColor DefaultSystemColor(int index);
// Resolves a system colour index to RGB; nullptr restores the classic defaults.
using TSystemColorResolver = TColor (*)(int index);
void SetSystemColorResolver(TSystemColorResolver resolver);
