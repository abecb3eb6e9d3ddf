#include "SystemInfo.h"

#include <QFile>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

namespace {

// The value of KEY=VALUE in an os-release text, quotes removed.
QString OsReleaseValue(const QString& text, const QString& key) {
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    if (!line.startsWith(key + QLatin1Char('='))) continue;
    QString value = line.mid(key.size() + 1).trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
      value = value.mid(1, value.size() - 2);
    return value;
  }
  return {};
}

} // namespace

QString OperatingSystemLine(const std::string& osRelease, const std::string& kernelRelease) {
  const QString text = QString::fromStdString(osRelease);
  QString name = OsReleaseValue(text, QStringLiteral("PRETTY_NAME"));
  if (name.isEmpty())
    name = (OsReleaseValue(text, QStringLiteral("NAME")) + QLatin1Char(' ') +
            OsReleaseValue(text, QStringLiteral("VERSION")))
               .trimmed();
  if (name.isEmpty()) name = QStringLiteral("Linux");
  if (kernelRelease.empty()) return name;
  return QStringLiteral("%1 (Build %2)").arg(name, QString::fromStdString(kernelRelease));
}

QString OperatingSystemLine() {
  std::string osRelease;
  for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
    QFile file(QString::fromLatin1(path));
    // A small text file; a damaged or huge one is cut at 64 KiB.
    if (file.open(QIODevice::ReadOnly)) {
      osRelease = file.read(64 * 1024).toStdString();
      break;
    }
  }
  utsname names{};
  const std::string kernel = uname(&names) == 0 ? names.release : "";
  return OperatingSystemLine(osRelease, kernel);
}

QString PhysicalMemoryText(uint64_t totalBytes, const QLocale& locale) {
  const uint64_t mb = totalBytes / 1024 / 1024;
  // The pattern #,### writes nothing for 0.
  QLocale grouped = locale;
  grouped.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  const QString number = mb == 0 ? QString() : grouped.toString(static_cast<qulonglong>(mb));
  return number + QStringLiteral(" MB");
}

uint64_t PhysicalMemoryBytes() {
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return 0;
  return static_cast<uint64_t>(info.totalram) * info.mem_unit;
}
