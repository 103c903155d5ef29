#include "language.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QSettings>
#include <QTranslator>
#include <memory>

#include "dialogs.h"
#include "error_box.h"
#include "state/errors.h"

namespace {

constexpr const char* kKey = "window/language";

struct Installed {
  QString code = QStringLiteral("en");
  std::unique_ptr<QTranslator> own, qt;
};

Installed& installed() {
  static Installed i;
  return i;
}

QString& settingsPath() {
  static QString path;
  return path;
}

std::unique_ptr<QSettings> settings() {
  if (!settingsPath().isEmpty()) return std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat);
  // ~/.config/zentrova/zentrova.conf, beside the start-up file.
  return std::make_unique<QSettings>(QStringLiteral("zentrova"), QStringLiteral("zentrova"));
}

bool known(const QString& code) {
  return code == QLatin1String("en") || code == QLatin1String("pl") || code == QLatin1String("ru");
}

// The program's translations are built into it.
std::unique_ptr<QTranslator> loadOwn(const QString& code) {
  auto t = std::make_unique<QTranslator>();
  if (!t->load(QStringLiteral(":/i18n/zentrova_") + code)) return nullptr;
  return t;
}

// The messages' locale is C or POSIX: as with every program that speaks
// several languages, LANGUAGE is then not asked, and the window is English.
bool plainMessages() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QByteArray value = qgetenv(name);
    if (value.isEmpty()) continue;
    const QByteArray base = value.split('.').first();
    return base == "C" || base == "POSIX";
  }
  return false;
}

}  // namespace

QString languageForLocale(const QStringList& uiLanguages) {
  for (const QString& name : uiLanguages) {
    if (name == QLatin1String("C")) break;
    const QString code = name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
    if (code == QLatin1String("pl") || code == QLatin1String("ru") || code == QLatin1String("en")) return code;
    // A language the window does not speak: the next preference decides.
  }
  return QStringLiteral("en");
}

QString chosenLanguage() {
  const QString code = settings()->value(QLatin1String(kKey)).toString();
  return known(code) ? code : QString();
}

void setChosenLanguage(const QString& code) {
  auto s = settings();
  s->setValue(QLatin1String(kKey), code);
  s->sync();
  if (s->status() != QSettings::NoError)
    throw zentrova::AppError(QCoreApplication::translate("Language", "The choice of language cannot be kept in %1.")
                                 .arg(s->fileName())
                                 .toStdString());
}

void setLanguageSettingsPath(const QString& path) { settingsPath() = path; }

bool installLanguage(const QString& code) {
  Installed& i = installed();
  for (auto* t : {&i.own, &i.qt})
    if (*t) {
      QCoreApplication::removeTranslator(t->get());
      t->reset();
    }
  i.code = QStringLiteral("en");
  if (code == QLatin1String("en") || !known(code)) return known(code);
  i.own = loadOwn(code);
  if (!i.own) return false;
  QCoreApplication::installTranslator(i.own.get());
  // The buttons of message boxes and the file dialogs: Qt's own translations.
  auto qt = std::make_unique<QTranslator>();
  if (qt->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qt.get());
    i.qt = std::move(qt);
  }
  i.code = code;
  return true;
}

QString windowLanguage() { return installed().code; }

void setUpLanguage() {
  const QString chosen = chosenLanguage();
  if (!chosen.isEmpty())
    installLanguage(chosen);
  else
    installLanguage(plainMessages() ? QStringLiteral("en") : languageForLocale(QLocale::system().uiLanguages()));
}

QString manualFileName(const QString& code) {
  if (code == QLatin1String("pl")) return QStringLiteral("HlpArtPl.hlp");
  if (code == QLatin1String("ru")) return QStringLiteral("HlpArtRu.hlp");
  return QStringLiteral("HlpArtEn.hlp");
}

QMenu* addLanguageMenu(QMenu* help, QAction* before, QWidget* owner) {
  auto* menu = new QMenu(QCoreApplication::translate("Language", "Language"), help);
  menu->setObjectName(QStringLiteral("LanguageMenu"));
  help->insertMenu(before, menu);
  auto* group = new QActionGroup(menu);
  // Each language under its own name, so that it is found whatever the
  // window speaks.
  const std::pair<const char*, QString> languages[] = {{"en", QStringLiteral("English")},
                                                      {"pl", QStringLiteral("Polski")},
                                                      {"ru", QStringLiteral("Русский")}};
  for (const auto& [code, name] : languages) {
    auto* a = menu->addAction(name);
    a->setObjectName(QStringLiteral("Language_") + QLatin1String(code));
    a->setCheckable(true);
    a->setChecked(windowLanguage() == QLatin1String(code));
    group->addAction(a);
    QObject::connect(a, &QAction::triggered, menu, [owner, group, code = QString::fromLatin1(code)] {
      if (!runGuarded([&] { setChosenLanguage(code); })) {
        // Not kept: the menu goes on showing the language that is.
        for (QAction* other : group->actions())
          other->setChecked(other->objectName() == QStringLiteral("Language_") + windowLanguage());
        return;
      }
      if (code == windowLanguage()) return;
      // Told in the language chosen, which is the one the reader looks for.
      const char* text = QT_TRANSLATE_NOOP("Language", "Zentrova speaks this language from its next start.");
      QString message = QString::fromLatin1(text);
      if (const auto t = loadOwn(code)) {
        const QString translated = t->translate("Language", text);
        if (!translated.isEmpty()) message = translated;
      }
      dialogs().information(owner, message);
    });
  }
  return menu;
}
