#include "png_file.h"

#include <QBuffer>
#include <QByteArray>

#include "files/file_io.h"
#include "files/io_error.h"

void writePngFile(const QImage& image, const std::string& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) zentrova::throwIo(EIO);
  zentrova::writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
}
