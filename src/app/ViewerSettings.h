#pragma once
// What the viewer keeps between runs, in the desktop's config folder (zvpview/zvpview.conf): the window's
// place, the zoom mode and the page each recent report was last shown at. A missing, unreadable, damaged
// or oversized file reads as the defaults, never as an error; saving replaces the file with the viewer's
// own entries. Values out of range read as their defaults.
#include <QPoint>
#include <QSettings>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

#include "preview/ZVPreview.h"

// The window as it was left: its frame's top-left corner, its size without the frame, and whether it
// filled the screen (then the place it had before). An empty size: nothing kept.
struct TWindowPlace {
  QPoint Position;
  QSize Size;
  bool Maximized = false;
};

struct TZoomMode {
  TZVZoomState State = zvZoomToFit;
  int32_t Percent = 100; // with zvZoomOther
};

class TViewerSettings {
 public:
  // Reports whose page is remembered; the oldest is forgotten first.
  static constexpr int MaxReports = 50;
  // A settings file larger than this is not ours to read.
  static constexpr qint64 MaxFileSize = 256 * 1024;

  // Reads the file (the defaults when there is none).
  TViewerSettings();

  static QString FilePath();

  TWindowPlace Window;
  TZoomMode Zoom;

  // The page `report` was last shown at, 0 when not known.
  int32_t LastPage(const QString& report) const;
  void SetLastPage(const QString& report, int32_t page);

  // Writes everything; a failure to write is not reported (the settings are a convenience).
  void Save() const;

 private:
  struct TReportPage {
    QString Path;
    int32_t Page;
  };
  QSettings::Status Write(const QString& file) const;

  std::vector<TReportPage> FReports; // the most recent first
};
