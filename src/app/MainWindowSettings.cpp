// What the main window keeps between runs: its place, the zoom mode, the page of each report.
#include "MainWindow.h"

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
  FSettings.WindowGeometry = saveGeometry();
  FSettings.Zoom = {ZVPreview1->ZoomState, ZVPreview1->Zoom()};
  FSettings.Save();
}
