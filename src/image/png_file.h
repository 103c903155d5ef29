#pragma once
#include <QByteArray>
#include <QImage>
#include <string>

// Writes the picture as a PNG file, all or nothing, with the same replacing
// write as the set files; failures are IoError.
void writePngFile(const QImage& image, const std::string& path);

// The picture as an 8-bit RGB PNG (alpha dropped), written by libpng with
// zlib's fastest level and no row filters: several times faster than Qt's
// writer, in somewhat larger files, and decoding to the same pixels. For
// frames recorded during a run, where the encoding competes with the step
// for the processors.
QByteArray fastPngBytes(const QImage& image);
