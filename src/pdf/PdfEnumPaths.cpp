// TPdfEnum: the path bracket (EMR_BEGINPATH .. EMR_ENDPATH) and the records that paint or drop the path.
#include "pdf/PdfCanvas.h"
#include "pdf/PdfEnum.h"

using namespace emf;

bool TPdfEnum::HandlePathRecord(const TEmfRecord& R) {
  TPdfEnumDCState& s = State();
  switch (R.Type) {
  case EMR_BEGINPATH:
    Canvas->NewPath();
    if (!s.PointEmitted) Canvas->MoveToLogical(s.CurrentPoint.x, s.CurrentPoint.y);
    s.PointEmitted = true;
    return true;
  case EMR_ENDPATH:
    Canvas->FNewPath = false;
    return true;
  case EMR_CLOSEFIGURE:
    Canvas->Closepath();
    return true;
  case EMR_FILLPATH:
    if (!s.Brush.Null) {
      SelectFillColor(s.Brush.Color);
      Canvas->Fill();
    }
    Canvas->NewPath();
    Canvas->FNewPath = false;
    return true;
  case EMR_STROKEANDFILLPATH:
    if (!s.Brush.Null) {
      NeedPen();
      SelectFillColor(s.Brush.Color);
      bool alternate = s.FillMode == ALTERNATE;
      if (s.Pen.Null)
        alternate ? Canvas->EoFill() : Canvas->Fill();
      else
        alternate ? Canvas->EofillStroke() : Canvas->FillStroke();
    } else if (!s.Pen.Null) {
      NeedPen();
      Canvas->Stroke();
    }
    Canvas->NewPath();
    Canvas->FNewPath = false;
    return true;
  case EMR_STROKEPATH:
    if (!s.Pen.Null) {
      NeedPen();
      Canvas->Stroke();
    }
    Canvas->NewPath();
    Canvas->FNewPath = false;
    return true;
  case EMR_ABORTPATH:
  case EMR_SELECTCLIPPATH: // vector drawing is not clipped: the path is dropped, never painted later
    Canvas->NewPath();
    Canvas->FNewPath = false;
    return true;
  default:
    return false;
  }
}
