#pragma once

#include <QImage>

class TcoverPicture;

// A decoded cover as a Qt image (32-bit RGB, the format painting is fastest from); an empty picture gives
// a null image, and so does one holding fewer bytes than its size needs.
QImage ToQImage(const TcoverPicture& picture);
