#pragma once
// Helpers of the image tests: reading files, PNM parsing (djpeg output) and
// pixel comparison.

#include <QByteArray>
#include <QImage>
#include <QString>

QByteArray ReadTestFile(const QString& path);
// A binary PPM (P6) or PGM (P5) with maxval 255, as RGB32; null otherwise.
QImage ParsePnm(const QByteArray& data);
// Empty when both images have the same size and RGB values; otherwise a
// description of the first difference.
QString FirstPixelDifference(const QImage& actual, const QImage& expected);
