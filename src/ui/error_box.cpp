#include "error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace {

ErrorSink& sink() {
  static ErrorSink s;
  return s;
}

}  // namespace

void setErrorSink(ErrorSink s) { sink() = std::move(s); }
void resetErrorSink() { sink() = nullptr; }

QString errorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QChar('.')) return message + QChar('.');
  return message;
}

void showErrorBox(const QString& message) {
  const QString text = errorBoxText(message);
  if (sink()) {
    sink()(text);
    return;
  }
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Zentrova"), text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

bool runGuarded(const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    showErrorBox(QString::fromLocal8Bit(e.what()));
  } catch (...) {
    showErrorBox(QStringLiteral("Unknown error"));
  }
  return false;
}
