#pragma once

#include <QImage>
#include <QSize>

// The product logo of the about box and the splash, drawn in code: a record as the emblem beside the
// program's name on a deep blue ground.
QImage OrvaneLogo(const QSize& size = QSize(300, 175));
