#include "manual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orvalle::gui {

QStringList manualCandidates() {
  const QString index = QStringLiteral("share/doc/orvalle/manual/index.html");
  QStringList candidates;
  candidates << QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../") +
                                index);
  const QString system = QStringLiteral("/usr/") + index;
  if (!candidates.contains(system)) candidates << system;
  candidates << QStringLiteral(ORVALLE_MANUAL_BUILD_PATH);
  return candidates;
}

QString manualIndexPath() {
  for (const QString& candidate : manualCandidates()) {
    if (QFileInfo(candidate).isFile()) return candidate;
  }
  return {};
}

}  // namespace orvalle::gui
