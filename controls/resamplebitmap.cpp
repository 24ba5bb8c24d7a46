#include "controls/resamplebitmap.h"

#include <cstdint>

bool ResampleBitmap(const QImage& source, QImage& target)
{
    if (source.format() != QImage::Format_BGR888 || target.format() != QImage::Format_BGR888) {
        return false;
    }
    const std::int64_t sw = source.width();
    const std::int64_t sh = source.height();
    const std::int64_t tw = target.width();
    const std::int64_t th = target.height();
    if (sw <= 0 || sh <= 0 || tw <= 0 || th <= 0) {
        return false;
    }
    constexpr std::int64_t kOne = 32768;
    constexpr std::int64_t kFraction = kOne - 1;
    const std::int64_t sx = ((sw - 1) * kOne) / tw;
    const std::int64_t sy = ((sh - 1) * kOne) / th;
    for (std::int64_t j = 0; j < th; ++j) {
        const std::int64_t Y = j * sy;
        const std::int64_t y = Y >> 15;
        const std::int64_t fy = Y & kFraction;
        const std::int64_t y2 = sh > 1 ? y + 1 : y;
        const std::uint8_t* top = source.constScanLine(static_cast<int>(y));
        const std::uint8_t* bottom = source.constScanLine(static_cast<int>(y2));
        std::uint8_t* out = target.scanLine(static_cast<int>(j));
        for (std::int64_t i = 0; i < tw; ++i) {
            const std::int64_t X = i * sx;
            const std::int64_t x = X >> 15;
            const std::int64_t fx = X & kFraction;
            const std::int64_t x2 = sw > 1 ? x + 1 : x;
            const std::int64_t topRight = (fx * (kOne - fy)) >> 15;
            const std::int64_t topLeft = kOne - fy - topRight;
            const std::int64_t bottomRight = (fx * fy) >> 15;
            const std::int64_t bottomLeft = fy - bottomRight;
            const std::uint8_t* tl = top + 3 * x;
            const std::uint8_t* tr = top + 3 * x2;
            const std::uint8_t* bl = bottom + 3 * x;
            const std::uint8_t* br = bottom + 3 * x2;
            for (int c = 0; c < 3; ++c) {
                const std::int64_t v =
                    (topLeft * tl[c] + topRight * tr[c] + bottomLeft * bl[c] + bottomRight * br[c]) >> 15;
                out[3 * i + c] = static_cast<std::uint8_t>(v > 255 ? 255 : v);
            }
        }
    }
    return true;
}
