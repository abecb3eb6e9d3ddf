// What the main window keeps between runs: its place, the zoom mode, the page of each report.
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "MainWindow.h"

namespace {

// Sides a window of the viewer may be given back, in pixels.
constexpr int LeastSide = 100, LargestSide = 16384;
// The part of the frame's top-left corner (the title bar's start) that a screen must show.
constexpr int GripWidth = 100, GripHeight = 30;

} // namespace

void TfrmDodEdidoPreview::RestoreWindowPlace() {
  const TWindowPlace& place = FSettings.Window;
  const QSize size = place.Size;
  if (size.width() < LeastSide || size.height() < LeastSide || size.width() > LargestSide ||
      size.height() > LargestSide)
    return;
  resize(size);
  const QRect grip(place.Position, QSize(std::min(GripWidth, size.width()), GripHeight));
  const auto screens = QGuiApplication::screens();
  const bool shown = std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
    return screen->availableGeometry().intersected(grip).width() >= grip.width() / 2;
  });
  if (shown)
    move(place.Position);
  else if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  if (place.Maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmDodEdidoPreview::ApplyRememberedZoom() {
  const TZoomMode& mode = FSettings.Zoom;
  if (mode.State == zvZoomToWidth)
    ZVPreview1->ZoomToWidth();
  else if (mode.State == zvZoomOther)
    ZVPreview1->SetZoom(mode.Percent);
}

void TfrmDodEdidoPreview::SaveSettings() {
  // A window that was never shown has no place or zoom worth keeping.
  if (FShowPending) return;
  if (!FReportPath.isEmpty()) FSettings.SetLastPage(FReportPath, ZVPreview1->PageNumber());
  const bool maximized = isMaximized();
  const QRect normal = maximized ? normalGeometry() : QRect(pos(), size());
  FSettings.Window = {normal.topLeft(), normal.size(), maximized};
  FSettings.Zoom = {ZVPreview1->ZoomState, ZVPreview1->Zoom()};
  FSettings.Save();
}
