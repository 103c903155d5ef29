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

}  // namespace

QByteArray fastPngBytes(const QImage& picture) {
  const QImage image =
      picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
  const int w = image.width(), h = image.height();
  if (image.isNull() || w <= 0 || h <= 0) zentrova::throwIo(EIO);
  const std::size_t rowBytes = 1 + 3 * std::size_t(w);
  std::vector<Bytef> rows(rowBytes * std::size_t(h));
  Bytef* d = rows.data();
  for (int y = 0; y < h; ++y) {
    const auto* px = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    *d++ = 0;  // filter type None
    for (int x = 0; x < w; ++x) {
      *d++ = Bytef(qRed(px[x]));
      *d++ = Bytef(qGreen(px[x]));
      *d++ = Bytef(qBlue(px[x]));
    }
  }
  z_stream z{};
  if (deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) zentrova::throwIo(ENOMEM);
  QByteArray packed(qsizetype(deflateBound(&z, uLong(rows.size()))), Qt::Uninitialized);
  z.next_in = rows.data();
  z.avail_in = uInt(rows.size());
  z.next_out = reinterpret_cast<Bytef*>(packed.data());
  z.avail_out = uInt(packed.size());
  const int done = deflate(&z, Z_FINISH);
  packed.resize(qsizetype(z.total_out));
  deflateEnd(&z);
  if (done != Z_STREAM_END) zentrova::throwIo(EIO);

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
