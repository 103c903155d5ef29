#include "png_file.h"

#include <png.h>

#include <cerrno>
#include <new>

#include "files/file_io.h"
#include "files/io_error.h"
#include "set_picture.h"

void writePngFile(const QImage& image, const std::string& path) {
  const QByteArray bytes = zentrova::pngBytes(image);
  zentrova::writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
}

namespace {

// libpng reports its errors by a long jump back to the setjmp below; nothing
// with a destructor may live in the frames it jumps over.
[[noreturn]] void pngFailed(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void pngWarning(png_structp, png_const_charp) {}

struct PngSink {
  QByteArray bytes;
  bool full = false;  // memory ran out
};

void appendPng(png_structp png, png_bytep data, png_size_t size) {
  auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
  try {
    sink->bytes.append(reinterpret_cast<const char*>(data), qsizetype(size));
  } catch (const std::bad_alloc&) {
    sink->full = true;
  }
  if (sink->full) png_error(png, "out of memory");
}

void flushPng(png_structp) {}

// Rows of an RGB32 picture go in as they are: libpng drops the unused byte
// and puts the colours in PNG's order, which saves a copy of the picture.
bool encodePng(png_structp png, png_infop info, const QImage& image, PngSink* sink) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, sink, appendPng, flushPng);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, png_uint_32(image.width()), png_uint_32(image.height()), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
  png_set_bgr(png);  // 0xffRRGGBB is B, G, R, ff in memory
  png_set_filler(png, 0, PNG_FILLER_AFTER);
#else
  png_set_filler(png, 0, PNG_FILLER_BEFORE);
#endif
  for (int y = 0; y < image.height(); ++y) png_write_row(png, image.constScanLine(y));
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

QByteArray fastPngBytes(const QImage& picture) {
  const QImage image =
      picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  if (image.isNull() || image.width() <= 0 || image.height() <= 0) zentrova::throwIo(EIO);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFailed, pngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  PngSink sink;
  const bool written = info && encodePng(png, info, image, &sink);
  png_destroy_write_struct(&png, info ? &info : nullptr);
  if (!written) zentrova::throwIo(sink.full || !info ? ENOMEM : EIO);
  return std::move(sink.bytes);
}
