#pragma once
#include <QString>
#include <QStringList>

class QMenu;
class QAction;
class QWidget;

// The window's language: "en", "pl" or "ru". The choice of Help > Language is
// kept in the user's settings; without one the language follows the locale
// (LANGUAGE, LC_ALL, LC_MESSAGES, LANG, as Qt reads them), English where
// neither Polish nor Russian is asked for or the messages' locale is C. A change takes effect at the next
// start, so that no text of a running window is left half translated.

// The first of Polish and Russian in the preferred languages, else "en".
QString languageForLocale(const QStringList& uiLanguages);

// The stored choice ("en", "pl", "ru"), or an empty string to follow the locale.
QString chosenLanguage();
// Stores the choice; throws AppError when it cannot be kept.
void setChosenLanguage(const QString& code);

// The settings file of the choice; tests point it at a scratch file. An
// empty path restores the user's own.
void setLanguageSettingsPath(const QString& path);

// Installs the program's and Qt's translations of the language ("en" removes
// them); returns false when the program's own are missing.
bool installLanguage(const QString& code);
// The language installed last ("en" before any).
QString windowLanguage();

// At start-up: installs the chosen language, or the locale's.
void setUpLanguage();

// The manual in the language: HlpArtEn.hlp, HlpArtPl.hlp or HlpArtRu.hlp.
QString manualFileName(const QString& code);

// Help > Language with English, Polski and Русский, inserted before `before`.
QMenu* addLanguageMenu(QMenu* help, QAction* before, QWidget* owner);
