#include "png_file.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "files/file_io.h"
#include "files/io_error.h"
#include "set_picture.h"

void writePngFile(const QImage& image, const std::string& path) {
  const QByteArray bytes = zentrova::pngBytes(image);
  zentrova::writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
}

namespace {

void append32(QByteArray& out, quint32 v) {
  const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
  out.append(b, 4);
}

void appendChunk(QByteArray& out, const char* type, const QByteArray& data) {
  append32(out, quint32(data.size()));
  const qsizetype start = out.size();
  out.append(type, 4);
  out.append(data);
  append32(out, quint32(crc32(0, reinterpret_cast<const Bytef*>(out.constData() + start), uInt(out.size() - start))));
}

// One deflate state a thread, reset for each picture: making one anew
// allocates and clears a few hundred kilobytes every frame.
struct Deflater {
  z_stream z{};
  bool ready = false;
  Deflater() { ready = deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) == Z_OK; }
  ~Deflater() {
    if (ready) deflateEnd(&z);
  }
};

}  // namespace

QByteArray fastPngBytes(const QImage& picture) {
  const QImage image =
      picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  const int w = image.width(), h = image.height();
  if (image.isNull() || w <= 0 || h <= 0) zentrova::throwIo(EIO);
  thread_local Deflater deflater;
  if (!deflater.ready || deflateReset(&deflater.z) != Z_OK) zentrova::throwIo(ENOMEM);
  z_stream& z = deflater.z;
  // Row by row, each with its filter byte, through a buffer of one row.
  std::vector<Bytef> row(1 + 3 * std::size_t(w));
  QByteArray packed(qsizetype(64) << 10, Qt::Uninitialized);
  z.next_out = reinterpret_cast<Bytef*>(packed.data());
  z.avail_out = uInt(packed.size());
  int done = Z_OK;
  for (int y = 0; y <= h && done == Z_OK; ++y) {
    const bool last = y == h;
    if (!last) {
      const auto* px = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      Bytef* d = row.data();
      *d++ = 0;  // filter type None
      for (int x = 0; x < w; ++x) {
        *d++ = Bytef(qRed(px[x]));
        *d++ = Bytef(qGreen(px[x]));
        *d++ = Bytef(qBlue(px[x]));
      }
      z.next_in = row.data();
      z.avail_in = uInt(row.size());
    }
    do {
      if (z.avail_out == 0) {
        const qsizetype used = packed.size();
        packed.resize(used * 2);
        z.next_out = reinterpret_cast<Bytef*>(packed.data()) + used;
        z.avail_out = uInt(packed.size() - used);
      }
      done = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
    } while (done == Z_OK && (z.avail_in > 0 || z.avail_out == 0 || last));
    if (done == Z_BUF_ERROR) done = Z_OK;  // no progress possible until more input
  }
  if (done != Z_STREAM_END) zentrova::throwIo(EIO);
  packed.resize(qsizetype(z.total_out));

  QByteArray header;
  append32(header, quint32(w));
  append32(header, quint32(h));
  header.append(char(8));  // bits a sample
  header.append(char(2));  // RGB
  header.append(3, char(0));  // deflate, adaptive filtering, no interlace
  QByteArray out("\x89PNG\r\n\x1a\n", 8);
  out.reserve(packed.size() + 64);
  appendChunk(out, "IHDR", header);
  appendChunk(out, "IDAT", packed);
  appendChunk(out, "IEND", QByteArray());
  return out;
}
