#include "error_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QRegularExpression>
#include <exception>

namespace {

ErrorSink& sink() {
  static ErrorSink s;
  return s;
}

// The core's fixed texts, and those with one value in them.
const char* const kFixed[] = {
    QT_TRANSLATE_NOOP("Errors", "File not found"),
    QT_TRANSLATE_NOOP("Errors", "File access denied"),
    QT_TRANSLATE_NOOP("Errors", "Read beyond end of file"),
    QT_TRANSLATE_NOOP("Errors", "Disk full"),
    QT_TRANSLATE_NOOP("Errors", "Invalid floating point operation"),
    QT_TRANSLATE_NOOP("Errors", "Floating point division by zero"),
    QT_TRANSLATE_NOOP("Errors", "Floating point overflow"),
    QT_TRANSLATE_NOOP("Errors", "Text conversion not available"),
};
struct Pattern {
  const char* regex;
  const char* text;
};
const Pattern kPatterns[] = {
    {"^'(.*)' is not a valid floating point value$", QT_TRANSLATE_NOOP("Errors", "'%1' is not a valid floating point value")},
    {"^'(.*)' is not a valid integer value$", QT_TRANSLATE_NOOP("Errors", "'%1' is not a valid integer value")},
    {"^I/O error (-?[0-9]+)$", QT_TRANSLATE_NOOP("Errors", "I/O error %1")},
};

}  // namespace

QString windowMessage(const QString& message) {
  for (const char* f : kFixed)
    if (message == QLatin1String(f)) return QCoreApplication::translate("Errors", f);
  for (const Pattern& p : kPatterns) {
    const QRegularExpression re(QString::fromLatin1(p.regex), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = re.match(message);
    // Only the value goes through arg(): it may hold "%1" itself.
    if (m.hasMatch()) return QCoreApplication::translate("Errors", p.text).arg(m.captured(1));
  }
  return message;
}

void setErrorSink(ErrorSink s) { sink() = std::move(s); }
void resetErrorSink() { sink() = nullptr; }

QString errorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QChar('.')) return message + QChar('.');
  return message;
}

void showErrorBox(const QString& message) {
  const QString text = errorBoxText(windowMessage(message));
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
    showErrorBox(QCoreApplication::translate("Errors", "Unknown error"));
  }
  return false;
}
