#include "FileAssociation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include "ModalHook.h"
#include "ProgramIcon.h"

namespace {

const QString MimeType = QStringLiteral("application/x-zvp");
const QString DesktopName = QStringLiteral("zvpview.desktop");
const QString IconName = QStringLiteral("zvpview");

QString EnvOr(const char* name, const QString& fallback) {
  const QString value = qEnvironmentVariable(name);
  // The XDG rules ignore relative paths.
  return value.isEmpty() || QDir::isRelativePath(value) ? fallback : value;
}

[[noreturn]] void WriteFailed(const QString& path) {
  throw ERegistryException("Failed to set data for '" + path.toStdString() + "'");
}

// Replaces the file with `data` once the whole content is written.
void WriteWhole(const QString& path, const QByteArray& data) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) WriteFailed(path);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
    WriteFailed(path);
}

// A desktop entry's quoting of one argument, then its string escape of backslashes.
QString QuoteExecArgument(const QString& arg) {
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
  bool needsQuotes = arg.isEmpty();
  for (QChar c : arg)
    needsQuotes = needsQuotes || reserved.contains(c);
  QString result = arg;
  if (needsQuotes) {
    result.clear();
    for (QChar c : arg) {
      if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
        result += QLatin1Char('\\');
      result += c;
    }
    result = QLatin1Char('"') + result + QLatin1Char('"');
  }
  result.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  return result;
}

QByteArray DesktopEntry(const QString& programPath, bool visible) {
  QString entry = QStringLiteral("[Desktop Entry]\n"
                                 "Type=Application\n"
                                 "Name=Podgląd raportu\n"
                                 "Comment=Oglądanie i drukowanie zachowanych raportów (*.zvp)\n"
                                 "Exec=%1\n"
                                 "Icon=%2\n"
                                 "MimeType=%3;\n"
                                 "Terminal=false\n")
                      .arg(DesktopExecValue(programPath), IconName, MimeType);
  // A handler only, unless it stands in for an installed menu entry of the same name.
  if (!visible) entry += QStringLiteral("NoDisplay=true\n");
  return entry.toUtf8();
}

// The same package a system-wide install puts into /usr/share/mime/packages.
QByteArray MimePackage() {
  QFile file(QStringLiteral(":/zvpview/zvpview-mime.xml"));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// mimeapps.list with this program as the default handler; every other line stays as it was.
QByteArray MimeAppsWithDefault(const QByteArray& old) {
  const QString section = QStringLiteral("[Default Applications]");
  const QString entry = MimeType + QLatin1Char('=') + DesktopName;
  QStringList lines = QString::fromUtf8(old).split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  qsizetype start = lines.indexOf(section);
  if (start < 0) {
    lines << section << entry;
  } else {
    qsizetype end = start + 1;
    while (end < lines.size() && !lines[end].trimmed().startsWith(QLatin1Char('[')))
      ++end;
    bool replaced = false;
    for (qsizetype i = start + 1; i < end; ++i)
      if (lines[i].trimmed().startsWith(MimeType + QLatin1Char('='))) {
        lines[i] = entry;
        replaced = true;
      }
    if (!replaced) lines.insert(start + 1, entry);
  }
  return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QByteArray ReadSmallFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  // A settings file; anything beyond 1 MiB is not one to rewrite.
  if (file.size() > 1024 * 1024) WriteFailed(path);
  return file.readAll();
}

void RunIfInstalled(const QString& tool, const QString& dir) {
  const QString path = QStandardPaths::findExecutable(tool);
  if (path.isEmpty()) return;
  QProcess process;
  process.start(path, {dir});
  if (process.waitForStarted(5000) && !process.waitForFinished(30000)) process.kill();
}

} // namespace

QString TAssociationPaths::DesktopEntry() const {
  return DataHome + QStringLiteral("/applications/") + DesktopName;
}
QString TAssociationPaths::MimePackage() const {
  return DataHome + QStringLiteral("/mime/packages/zvpview.xml");
}
QString TAssociationPaths::MimeApps() const {
  return ConfigHome + QStringLiteral("/mimeapps.list");
}
QString TAssociationPaths::Icon(int size) const {
  return DataHome + QStringLiteral("/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(IconName);
}

bool TAssociationPaths::SystemEntryExists() const {
  for (const QString& dir : DataDirs)
    if (QFileInfo::exists(dir + QStringLiteral("/applications/") + DesktopName)) return true;
  return false;
}

TAssociationPaths AssociationPaths() {
  const QString home = QDir::homePath();
  QStringList dataDirs;
  for (const QString& dir : qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':'), Qt::SkipEmptyParts))
    if (!QDir::isRelativePath(dir)) dataDirs << dir;
  if (dataDirs.isEmpty()) dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
  return {EnvOr("XDG_DATA_HOME", home + QStringLiteral("/.local/share")),
          EnvOr("XDG_CONFIG_HOME", home + QStringLiteral("/.config")), dataDirs};
}

QString DesktopExecValue(const QString& programPath) {
  return QuoteExecArgument(programPath) + QStringLiteral(" \"%f\"");
}

bool RegisterFileAssociation(const QString& programPath, const TAssociationPaths& paths,
                             bool refreshDatabases) {
  const bool installed = paths.SystemEntryExists();
  const bool result = !installed && !QFileInfo::exists(paths.DesktopEntry());
  WriteWhole(paths.DesktopEntry(), DesktopEntry(programPath, installed));
  WriteWhole(paths.MimePackage(), MimePackage());
  for (int size : ProgramIconSizes)
    WriteWhole(paths.Icon(size), ProgramIconPng(size));
  WriteWhole(paths.MimeApps(), MimeAppsWithDefault(ReadSmallFile(paths.MimeApps())));
  if (refreshDatabases) {
    RunIfInstalled(QStringLiteral("update-mime-database"), paths.DataHome + QStringLiteral("/mime"));
    RunIfInstalled(QStringLiteral("update-desktop-database"),
                   paths.DataHome + QStringLiteral("/applications"));
  }
  return result;
}

bool RegisterFileAssociation() {
  return RegisterFileAssociation(QCoreApplication::applicationFilePath());
}

QString FirstRunNoticeText() {
  return QStringLiteral("Niniejszy program umożliwia oglądanie i oddrukowanie plików z raportami (*.zvp)\n"
                        "Zevrin - programy do tworzenia i przeglądania raportów\n");
}

void ShowFirstRunNotice(QWidget* parent) {
  ShowMessageBox(parent, QStringLiteral("Informacja"), FirstRunNoticeText());
}
