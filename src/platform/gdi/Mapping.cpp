#include "Mapping.h"

#include "platform/metafile/PageMapping.h"

// The Qt side of the shared mapping (platform/metafile/PageMapping.h): the player keeps the extents and
// origins in its state as Qt types.
void ApplyMapMode(TDCState& s, int32_t mode, QSize px, QSize mm) {
  emf::TPageSize window{s.WindowExt.width(), s.WindowExt.height()};
  emf::TPageSize viewport{s.ViewportExt.width(), s.ViewportExt.height()};
  if (!emf::MapModeExtents(mode, emf::TReferenceDevice(px.width(), px.height(), mm.width(), mm.height()),
                           window, viewport))
    return;
  s.MapMode = mode;
  s.WindowExt = QSizeF(window.cx, window.cy);
  s.ViewportExt = QSizeF(viewport.cx, viewport.cy);
}

QTransform PageToDevice(const TDCState& s) {
  emf::TPageSize scale = emf::PageScale(s.MapMode, {s.WindowExt.width(), s.WindowExt.height()},
                                        {s.ViewportExt.width(), s.ViewportExt.height()});
  // x_dev = (x - wox) * sx + vox
  return QTransform(scale.cx, 0, 0, scale.cy, s.ViewportOrg.x() - s.WindowOrg.x() * scale.cx,
                    s.ViewportOrg.y() - s.WindowOrg.y() * scale.cy);
}
