// TPdfEnum: clip boxes. They limit text and bitmaps; vector drawing is not clipped.
#include <algorithm>

#include "pdf/PdfCanvas.h"
#include "pdf/PdfEnum.h"

using namespace emf;

namespace {

TPdfBox ToBox(const TPdfRect& r) {
  return {r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top};
}

} // namespace

void TPdfEnum::InitMetaRgn(const TPdfIntRect& ClientRect) {
  // The header's bounds include their right and bottom pixels. Bounds left empty by the metafile's
  // writer ((0, 0, -1, -1) and the like) limit nothing: a box far larger than any page stands for them.
  if (ClientRect.Right < ClientRect.Left || ClientRect.Bottom < ClientRect.Top)
    fInitMetaRgn = TPdfBox{-1e6f, -1e6f, 2e6f, 2e6f};
  else
    fInitMetaRgn = ToBox(Canvas->RectToPdf(
        {ClientRect.Left, ClientRect.Top, ClientRect.Right + 1, ClientRect.Bottom + 1}, true));
  State().HasClipBox = false;
  State().MetaClip = fInitMetaRgn;
}

TPdfBox TPdfEnum::GetClipRect() const {
  return State().HasClipBox ? State().ClipBox : State().MetaClip;
}

TPdfBox TPdfEnum::IntersectClipRect(const TPdfBox& ClpRect, const TPdfBox& CurrRect) {
  if (ClpRect.Width == 0 && ClpRect.Height == 0) return CurrRect;
  float left = std::max(ClpRect.Left, CurrRect.Left);
  float top = std::max(ClpRect.Top, CurrRect.Top);
  float right = std::min(ClpRect.Left + ClpRect.Width, CurrRect.Left + CurrRect.Width);
  float bottom = std::min(ClpRect.Top + ClpRect.Height, CurrRect.Top + CurrRect.Height);
  return {left, top, std::max(0.0f, right - left), std::max(0.0f, bottom - top)};
}

void TPdfEnum::SetMetaRgn() {
  TPdfEnumDCState& s = State();
  if (!s.HasClipBox) return;
  s.MetaClip = IntersectClipRect(s.ClipBox, s.MetaClip);
  s.ClipBox = TPdfBox{};
  s.HasClipBox = false;
}

void TPdfEnum::ExtSelectClipRgn(uint32_t iMode) {
  // The region itself is not interpreted: RGN_COPY selects the meta clip as the clip box.
  if (iMode != RGN_COPY) return;
  State().ClipBox = State().MetaClip;
  State().HasClipBox = true;
}

bool TPdfEnum::HandleClipRecord(const TEmfRecord& R) {
  switch (R.Type) {
  case EMR_SETMETARGN:
    SetMetaRgn();
    return true;
  case EMR_INTERSECTCLIPRECT: {
    RectL r = RectRecordView(R.Data).Rect();
    TPdfBox box = ToBox(Canvas->RectToPdf({r.left, r.top, r.right, r.bottom}, true));
    // The clip in force narrows: text and bitmaps drawn afterwards are clipped to it.
    State().ClipBox = IntersectClipRect(box, GetClipRect());
    State().HasClipBox = true;
    return true;
  }
  case EMR_EXTSELECTCLIPRGN:
    try {
      ExtSelectClipRgn(RegionRecordView(R.Data).Mode());
    } catch (const EDamagedData&) {
      // A damaged clip region changes nothing.
    }
    return true;
  default:
    return false;
  }
}
