#include "sim_qt_messages.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

namespace {

void onQtMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtFatalMsg) std::fprintf(stderr, "zentrova-sim: %s\n", qPrintable(text));
}

}  // namespace

void keepQtMessagesQuiet() { qInstallMessageHandler(onQtMessage); }
