#include "png_file.h"

#include "files/file_io.h"
#include "set_picture.h"

void writePngFile(const QImage& image, const std::string& path) {
  const QByteArray bytes = zentrova::pngBytes(image);
  zentrova::writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
}
