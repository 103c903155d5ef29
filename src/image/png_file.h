#pragma once
#include <QImage>
#include <string>

// Writes the picture as a PNG file, all or nothing, with the same replacing
// write as the set files; failures are IoError.
void writePngFile(const QImage& image, const std::string& path);
