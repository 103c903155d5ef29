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
    QT_TRANSLATE_NOOP("Errors", "File too large"),
    QT_TRANSLATE_NOOP("Errors", "Text conversion not available"),
};
struct Pattern {
  const char* regex;
  const char* text;
};
// A size in a message ("12 KB") is one value; its unit is translated apart.
#define ZT_SIZE "([0-9]+ (?:bytes|KB|MB))"
const Pattern kPatterns[] = {
    // A field's value that does not convert may be followed by "; what stays",
    // already in the window's language.
    {"^'(.*)' is not a valid floating point value(?<tail>; .*)?$",
     QT_TRANSLATE_NOOP("Errors", "'%1' is not a valid floating point value")},
    {"^'(.*)' is not a valid integer value(?<tail>; .*)?$", QT_TRANSLATE_NOOP("Errors", "'%1' is not a valid integer value")},
    {"^I/O error (-?[0-9]+)$", QT_TRANSLATE_NOOP("Errors", "I/O error %1")},
    // Why a commentary is not shown.
    {"^The commentary (.*) is not a regular file\\.$", QT_TRANSLATE_NOOP("Errors", "The commentary %1 is not a regular file.")},
    {"^The commentary (.*) cannot be read: (.*)\\.$", QT_TRANSLATE_NOOP("Errors", "The commentary %1 cannot be read: %2.")},
    {"^The commentary (.*) is " ZT_SIZE ", more than the " ZT_SIZE " a commentary may have\\.$",
     QT_TRANSLATE_NOOP("Errors", "The commentary %1 is %2, more than the %3 a commentary may have.")},
    {"^The commentary (.*) is more than the " ZT_SIZE " a commentary may have\\.$",
     QT_TRANSLATE_NOOP("Errors", "The commentary %1 is more than the %2 a commentary may have.")},
};
#undef ZT_SIZE

QString sizeText(const QString& english) {
  const qsizetype space = english.indexOf(QLatin1Char(' '));
  if (space < 0) return english;
  const QString number = english.left(space), unit = english.mid(space + 1);
  bool digits = false;
  number.toULongLong(&digits);
  if (!digits) return english;
  if (unit == QLatin1String("bytes")) return QCoreApplication::translate("Errors", "%1 bytes").arg(number);
  if (unit == QLatin1String("KB")) return QCoreApplication::translate("Errors", "%1 KB").arg(number);
  if (unit == QLatin1String("MB")) return QCoreApplication::translate("Errors", "%1 MB").arg(number);
  return english;
}

}  // namespace

QString windowMessage(const QString& message) {
  for (const char* f : kFixed)
    if (message == QLatin1String(f)) return QCoreApplication::translate("Errors", f);
  for (const Pattern& p : kPatterns) {
    const QRegularExpression re(QString::fromLatin1(p.regex), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = re.match(message);
    if (!m.hasMatch()) continue;
    // arg() fills every value in one pass, so a value that holds "%1" stays as it is.
    const QString tail = m.captured(QStringLiteral("tail"));
    QStringList values;
    const QStringList names = re.namedCaptureGroups();
    for (int i = 1; i <= m.lastCapturedIndex(); ++i)
      if (names.value(i) != QLatin1String("tail")) values << sizeText(m.captured(i));
    const QString text = QCoreApplication::translate("Errors", p.text);
    if (values.size() == 1) return text.arg(values[0]) + tail;
    if (values.size() == 2) return text.arg(values[0], values[1]) + tail;
    return text.arg(values[0], values[1], values[2]) + tail;
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
