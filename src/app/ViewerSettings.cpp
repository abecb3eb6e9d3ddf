#include "ViewerSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>
#include <filesystem>

#include "preview/ZVPreviewZoom.h"

namespace {

const QString PositionKey = QStringLiteral("window/position");
const QString SizeKey = QStringLiteral("window/size");
const QString MaximizedKey = QStringLiteral("window/maximized");
const QString ZoomKey = QStringLiteral("view/zoom");
const QString ReportsKey = QStringLiteral("reports");
const QString PathKey = QStringLiteral("path");
const QString PageKey = QStringLiteral("page");
const QString FitPage = QStringLiteral("page");
const QString FitWidth = QStringLiteral("width");

// The same report under any of its names.
QString ReportKey(const QString& path) {
  const QFileInfo info(path);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

bool Readable(const QString& file) {
  const QFileInfo info(file);
  return info.isFile() && info.isReadable() && info.size() <= TViewerSettings::MaxFileSize;
}

TZoomMode ParseZoom(const QString& text) {
  TZoomMode mode;
  if (text == FitWidth) mode.State = zvZoomToWidth;
  bool ok = false;
  const int percent = text.toInt(&ok);
  if (ok && percent >= ZVMinZoom && percent <= ZVMaxZoom) {
    mode.State = zvZoomOther;
    mode.Percent = percent;
  }
  return mode;
}

QString ZoomText(const TZoomMode& mode) {
  switch (mode.State) {
  case zvZoomToFit:
    return FitPage;
  case zvZoomToWidth:
    return FitWidth;
  case zvZoomOther:
    break;
  }
  return QString::number(mode.Percent);
}

} // namespace

QString TViewerSettings::FilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/zvpview/zvpview.conf");
}

TViewerSettings::TViewerSettings() {
  const QString file = FilePath();
  if (!Readable(file)) return;
  QSettings settings(file, QSettings::NativeFormat);
  if (settings.status() != QSettings::NoError) return;
  Window.Position = settings.value(PositionKey).toPoint();
  Window.Size = settings.value(SizeKey).toSize();
  Window.Maximized = settings.value(MaximizedKey).toBool();
  Zoom = ParseZoom(settings.value(ZoomKey).toString());
  // The count is the file's word: only as many entries as are kept are read.
  const int count = std::clamp(settings.beginReadArray(ReportsKey), 0, MaxReports);
  for (int i = 0; i < count; ++i) {
    settings.setArrayIndex(i);
    bool ok = false;
    const QString path = settings.value(PathKey).toString();
    const int page = settings.value(PageKey).toInt(&ok);
    if (ok && page >= 1 && !path.isEmpty() && LastPage(path) == 0) FReports.push_back({path, page});
  }
  settings.endArray();
}

int32_t TViewerSettings::LastPage(const QString& report) const {
  const QString key = ReportKey(report);
  for (const TReportPage& entry : FReports)
    if (entry.Path == key) return entry.Page;
  return 0;
}

void TViewerSettings::SetLastPage(const QString& report, int32_t page) {
  if (page < 1) return;
  const QString key = ReportKey(report);
  std::erase_if(FReports, [&](const TReportPage& entry) { return entry.Path == key; });
  FReports.insert(FReports.begin(), {key, page});
  if (FReports.size() > static_cast<size_t>(MaxReports)) FReports.resize(MaxReports);
}

void TViewerSettings::Save() const {
  const QString file = FilePath();
  QDir().mkpath(QFileInfo(file).absolutePath());
  // Written beside the file and renamed over it when complete, so that a failed write leaves the old
  // file as it was. (The toolkit also keeps a failed write's values for the file it was meant for; they
  // stay with the scratch name, which is never read.)
  const QString part = file + QStringLiteral(".part");
  QFile::remove(part);
  if (Write(part) == QSettings::NoError && QFileInfo(part).isFile()) {
    std::error_code error;
    std::filesystem::rename(part.toStdString(), file.toStdString(), error);
    if (!error) return;
  }
  QFile::remove(part);
}

QSettings::Status TViewerSettings::Write(const QString& file) const {
  QSettings settings(file, QSettings::NativeFormat);
  settings.clear();
  settings.setValue(PositionKey, Window.Position);
  settings.setValue(SizeKey, Window.Size);
  settings.setValue(MaximizedKey, Window.Maximized);
  settings.setValue(ZoomKey, ZoomText(Zoom));
  settings.beginWriteArray(ReportsKey, static_cast<int>(FReports.size()));
  for (size_t i = 0; i < FReports.size(); ++i) {
    settings.setArrayIndex(static_cast<int>(i));
    settings.setValue(PathKey, FReports[i].Path);
    settings.setValue(PageKey, FReports[i].Page);
  }
  settings.endArray();
  settings.sync();
  return settings.status();
}
