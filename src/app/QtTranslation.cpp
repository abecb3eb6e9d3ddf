#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

const QString Catalogue = QStringLiteral("qtbase_pl.qm");

} // namespace

QString QtTranslationFile() {
  return QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QLatin1Char('/') + Catalogue;
}

bool InstallQtTranslation() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return false;
  if (app->findChild<QTranslator*>(Catalogue, Qt::FindDirectChildrenOnly)) return true;
  auto* translator = new QTranslator(app);
  translator->setObjectName(Catalogue);
  if (!translator->load(QtTranslationFile()) || !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}
