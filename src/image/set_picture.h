#pragma once
#include <QByteArray>
#include <QImage>

#include "state/particle_set.h"

namespace zentrova {

class Trails;

// The sides a picture of a set may have, in pixels.
constexpr int kMinPictureSide = 16, kMaxPictureSide = 8192;

struct PictureOptions {
  int width = 640, height = 480;
  bool taoscope = false;  // the colours of Taoscope mode
  bool numbers = false;   // particle numbers beside the points
};

// The window's picture of a set on black, in the default orientation, fitted
// to the image together with the trails when given. Needs a QGuiApplication
// for the numbers' font.
QImage drawSetPicture(const DrawingSnapshot& shown, const PictureOptions& options, const Trails* trails = nullptr);

// The picture as the bytes of a PNG file; failures are IoError.
QByteArray pngBytes(const QImage& image);

}  // namespace zentrova
