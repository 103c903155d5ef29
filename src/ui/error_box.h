#pragma once
#include <QString>
#include <functional>

class QWidget;

// The application's standard error box: error icon, one OK button, caption
// "Zentrova". Tests replace it with a recorder.
using ErrorSink = std::function<void(const QString& message)>;
void setErrorSink(ErrorSink sink);
void resetErrorSink();

// A message of the core (English, as it also goes to files and the
// simulator) in the window's language where it is one of the fixed texts;
// any other text is returned as it is.
QString windowMessage(const QString& message);

// The message as the box shows it: a full stop appended when the last
// character sorts after ".".
QString errorBoxText(const QString& message);
void showErrorBox(const QString& message);

// Runs a handler; an exception that escapes it ends the handler and is shown
// in the error box. Returns false when the handler failed.
bool runGuarded(const std::function<void()>& handler);
