#pragma once
#include <QChar>
#include <QLocale>
#include <QString>
#include <string>

#include "state/particle_record.h"
#include "state/number_text.h"
#include "state/particle_set.h"
#include "view/view_state.h"

// The process-wide state, one instance owned by the application and handed
// by reference to every window.
struct AppState {
  zentrova::ParticleSet set;
  zentrova::ViewState view;
  zentrova::ParticleRecord record;  // the buffer every .lis1 read and write goes through
  std::string startupPath;          // where the start-up pointer file lives
};

// The user's decimal separator, read at the moment of each conversion.
inline char decimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 128 ? char(point[0].unicode()) : '.';
}

// Paths and texts cross between Qt and the core as the platform's 8-bit form.
inline std::string toLocal(const QString& s) { return s.toLocal8Bit().toStdString(); }
inline QString fromLocal(const std::string& s) { return QString::fromLocal8Bit(s.data(), qsizetype(s.size())); }

inline QString realText(zentrova::Real v) {
  return QString::fromLatin1(zentrova::formatReal(v, decimalSeparator()).c_str());
}
