#include "qt_messages.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace {

const char* teller = "zentrova";

void onQtMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtFatalMsg) std::fprintf(stderr, "%s: %s\n", teller, qPrintable(text));
}

}  // namespace

void keepQtMessagesQuiet(const char* program) {
  teller = program;
  qInstallMessageHandler(onQtMessage);
}
