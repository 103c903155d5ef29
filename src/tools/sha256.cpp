#include "sha256.h"

#include <QCryptographicHash>

#include "files/file_io.h"

namespace zentrova {

std::string sha256OfFile(const std::string& path) {
  // Read by its bytes: a name need not be text in any encoding.
  InFile file;
  file.open(path);
  QCryptographicHash hash(QCryptographicHash::Sha256);
  for (;;) {
    const std::vector<std::uint8_t> chunk = file.readAll(std::size_t(1) << 20);
    if (chunk.empty()) break;
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(chunk.data()), qsizetype(chunk.size())));
  }
  file.close();
  return hash.result().toHex().toStdString();
}

std::string sha256Of(const std::string& bytes) {
  return QCryptographicHash::hash(QByteArrayView(bytes.data(), qsizetype(bytes.size())), QCryptographicHash::Sha256)
      .toHex()
      .toStdString();
}

}  // namespace zentrova
