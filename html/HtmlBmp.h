#pragma once
// BMP decoding through Qt's reader with the format forced, so that content
// of another type is never decoded by accident. Sizes are checked against
// the caps before the reader allocates.

#include <QByteArray>
#include <QImage>

// A null image when the data is not a BMP that can be shown.
QImage DecodeBmp(const QByteArray& data);
