#include "ZVPreviewZoom.h"

#include <algorithm>
#include <limits>

#include "platform/rtl/MathUtil.h"
#include "store/printer/ZVPrinter.h"

namespace {

// The Letter sheet in millimetres, used as pixels while no report printer is attached.
constexpr long double LetterWidth = 215.9L;
constexpr long double LetterHeight = 279.4L;

int32_t Nearest(long double v) {
  const long double lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(RoundEven(std::clamp(v, lo, hi)));
}

// A zoom from a length ratio; a page without size gives 0, which the zoom setter refuses.
int32_t ZoomFor(long double outer, long double page, long double percent) {
  return page > 0 ? Nearest(outer / page * percent) : 0;
}

} // namespace

TZVImageSize ZVImageSize(const TZVPrinter* printer, int32_t zoom) {
  if (printer)
    return {printer->XSize(printer->PaperWidthValue() / 100.0L * zoom) + ZVPageBorder,
            printer->YSize(printer->PaperLengthValue() / 100.0L * zoom) + ZVPageBorder};
  return {Nearest(LetterWidth / 100 * zoom) + ZVPageBorder,
          Nearest(LetterHeight / 100 * zoom) + ZVPageBorder};
}

int32_t ZVFitZoom(const TZVPrinter* printer, int32_t width, int32_t height) {
  if (printer)
    return std::min(ZoomFor(width, printer->XSize(printer->PaperWidthValue()), 95),
                    ZoomFor(height, printer->YSize(printer->PaperLengthValue()), 95));
  return std::min(ZoomFor(width, LetterWidth, 95), ZoomFor(height, LetterHeight, 95));
}

int32_t ZVWidthZoom(const TZVPrinter* printer, int32_t width) {
  if (printer) return ZoomFor(width, printer->XSize(printer->PaperWidthValue()), 90);
  return ZoomFor(width, LetterWidth, 95);
}

int32_t ZVCentredOffset(int32_t outer, int32_t image) {
  return outer > image ? (outer - image) / 2 : 0;
}
