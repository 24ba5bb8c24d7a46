#pragma once

#include <QImage>

// Bilinear resampling of a 24-bit picture (QImage::Format_BGR888) into the whole of a 24-bit target of
// its own size, in 15-bit fixed point with 64-bit intermediates. The steps use (source size - 1), so the
// last target pixel lands strictly inside the source and both neighbours always exist. An empty source or
// a target without pixels leaves the target as it is. Returns false when nothing was drawn.
bool ResampleBitmap(const QImage& source, QImage& target);
