#include "sha256.h"

#include <QCryptographicHash>
#include <QFile>

#include <cerrno>

#include "files/io_error.h"

namespace zentrova {

std::string sha256OfFile(const std::string& path) {
  QFile file(QString::fromLocal8Bit(path.c_str()));
  if (!file.open(QIODevice::ReadOnly)) throwIo(errno ? errno : EIO);
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) throwIo(errno ? errno : EIO);
  return hash.result().toHex().toStdString();
}

}  // namespace zentrova
