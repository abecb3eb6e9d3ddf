#include "TextOut.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <algorithm>
#include <cmath>
#include <vector>

#include "FontResolver.h"
#include "platform/rtl/CodePages.h"

namespace {
// Text space: x along the baseline, y down, in output pixels; this maps it onto the painter.
struct TTextFrame {
  QTransform ToOutput;
  double Scale = 1; // output pixels per logical unit
};

TTextFrame MakeFrame(TGdiDC& dc, QPointF ref, double escapementDegrees) {
  const QTransform& f = dc.LogicalToOutput();
  double a = f.m11(), b = f.m12(), c = f.m21(), d = f.m22();
  // Text is never mirrored by a mapping mode: a y-up page still writes glyphs upright. The escapement
  // angle is measured in logical space, so a mirroring mapping turns it the other way on the device.
  if (a * d - b * c < 0) {
    c = -c;
    d = -d;
    escapementDegrees = -escapementDegrees;
  }
  TTextFrame frame;
  frame.Scale = dc.LogicalScale();
  double s = frame.Scale > 0 ? frame.Scale : 1;
  QPointF origin = f.map(ref);
  QTransform rotation;
  rotation.rotate(-escapementDegrees);
  frame.ToOutput = rotation * QTransform(a / s, b / s, c / s, d / s, origin.x(), origin.y());
  return frame;
}

// The largest factor by which the matrix lengthens any direction (its larger singular value).
double MaxStretch(const QTransform& m) {
  double a = m.m11(), b = m.m12(), c = m.m21(), d = m.m22();
  double sum = a * a + b * b + c * c + d * d, det = a * d - b * c;
  double root = std::sqrt(std::max(0.0, sum * sum - 4 * det * det));
  return std::sqrt((sum + root) / 2);
}

// Whether a glyph of the run, drawn through `toDevice`, would be rasterised larger than `limit` device
// pixels on a side. A glyph squeezed far out of shape can be small in area yet too long for the glyph
// rasteriser, which then fails and leaves the text engine reading a bitmap it never got; a glyph may be
// wider than its em, so its own box counts, times every stretch of the transform.
bool GlyphTooLargeToRaster(const QRawFont& raw, const QVector<quint32>& glyphs, const QTransform& toDevice,
                           double emPixels, double limit) {
  if (MaxStretch(toDevice) * emPixels > limit) return true;
  std::vector<quint32> distinct(glyphs.begin(), glyphs.end());
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  for (quint32 glyph : distinct) {
    const QRectF box = toDevice.mapRect(raw.boundingRect(glyph));
    if (!(box.width() <= limit && box.height() <= limit)) return true;
  }
  return false;
}

void FillGlyphOutlines(QPainter& p, const QRawFont& raw, const QVector<quint32>& glyphs,
                       const QVector<QPointF>& positions, const QColor& color) {
  // One glyph at a time: the rasteriser's work grows faster than the edges of a single path.
  for (int i = 0; i < glyphs.size(); ++i) {
    QPainterPath glyph = raw.pathForGlyph(glyphs[i]);
    glyph.translate(positions[i]);
    p.fillPath(glyph, color);
  }
}
} // namespace

QString DecodeAnsiText(const char* bytes, size_t length, uint8_t charSet) {
  std::u16string text = DecodeCodePageText(std::string_view(bytes, length), CodePageOfCharSet(charSet));
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

bool DrawTextRun(TGdiDC& dc, const TTextRun& run) {
  TDCState& st = dc.State();
  const TGdiFont* font = st.Font && st.Font->kind == TGdiObject::Font ? &st.Font->font : nullptr;
  if (!font) font = &StockObject(DEVICE_DEFAULT_FONT)->font;
  ResolveFont(*font);

  bool updateCP = (st.TextAlign & TA_UPDATECP) != 0;
  QPointF ref = updateCP ? st.CurrentPos : run.Ref;
  double scale = dc.LogicalScale();
  if (!dc.TransformUsable()) return true;

  double em = font->Height < 0   ? -double(font->Height)
              : font->Height > 0 ? font->Height * font->CellToEm
                                 : 12;
  double pixelEm = em * scale;
  if (!(pixelEm > 0) || pixelEm > 20000) return true;

  bool haveFont = font->Raw.isValid();
  if (haveFont && font->SizedPixels != pixelEm) {
    font->Sized = font->Raw;
    font->Sized.setPixelSize(pixelEm);
    font->SizedPixels = pixelEm;
  }
  const QRawFont& raw = font->Sized;
  int n = static_cast<int>(run.Text.size());
  QVector<quint32> glyphs;
  if (haveFont) {
    if (run.Options & ETO_GLYPH_INDEX) {
      glyphs.reserve(n);
      for (QChar ch : run.Text)
        glyphs.push_back(ch.unicode());
    } else {
      glyphs = GlyphIndexesForText(*font, raw, run.Text);
    }
  }
  // Horizontal stretch from a non-zero character width.
  double stretch = 1;
  if (font->Width > 0 && font->AvgCharWidthPerEm > 0 && em > 0)
    stretch = font->Width / (font->AvgCharWidthPerEm * em);
  if (!(stretch > 0.01 && stretch < 100)) stretch = 1;
  // Many large glyphs take the rasteriser's time and memory whatever their advances: such a run is not
  // drawn.
  if (glyphs.size() * pixelEm * std::max(1.0, stretch) > dc.Limits().RunGlyphPixels) {
    dc.NoteOverLimit("text of " + std::to_string(glyphs.size()) + " glyphs at " +
                     std::to_string(std::lround(pixelEm)) + " pixels, more than a page may draw at once");
    return true;
  }

  // Glyph positions along the baseline, output pixels.
  QVector<QPointF> positions(glyphs.size());
  double x = 0, y = 0;
  QVector<QPointF> natural = haveFont ? raw.advancesForGlyphIndexes(glyphs) : QVector<QPointF>();
  for (int i = 0; i < glyphs.size(); ++i) {
    positions[i] = QPointF(x, y);
    if (i < static_cast<int>(run.Dx.size())) {
      x += run.Dx[i] * scale;
      if (i < static_cast<int>(run.Dy.size())) y -= run.Dy[i] * scale;
    } else {
      x += natural[i].x() * stretch;
    }
  }
  double width = x;

  double ascent = haveFont ? raw.ascent() : pixelEm * 0.9, descent = haveFont ? raw.descent() : pixelEm * 0.2;
  double shiftX = 0, baseline = 0;
  uint32_t horz = st.TextAlign & TA_CENTER;
  if (horz == TA_CENTER)
    shiftX = -width / 2;
  else if (horz == TA_RIGHT)
    shiftX = -width;
  uint32_t vert = st.TextAlign & TA_BASELINE;
  if (vert == TA_BASELINE)
    baseline = 0;
  else if (vert == TA_BOTTOM)
    baseline = -descent;
  else
    baseline = ascent;

  QPainter& p = dc.Painter();
  if (!dc.Prepare(false)) return true;
  const QTransform& f = dc.LogicalToOutput();
  if ((run.Options & ETO_OPAQUE) && run.HasRect) {
    QPainterPath box;
    box.addRect(run.Rect.normalized());
    p.fillPath(f.map(box), ColorRefToQColor(st.BkColor));
  }
  bool clipped = (run.Options & ETO_CLIPPED) && run.HasRect;
  if (clipped) {
    p.save();
    Qt::ClipOperation op = p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip;
    if (f.type() <= QTransform::TxScale) {
      p.setClipRect(f.mapRect(run.Rect.normalized()), op);
    } else {
      QPainterPath box;
      box.addRect(run.Rect.normalized());
      p.setClipPath(f.map(box), op);
    }
  }
  TTextFrame frame = MakeFrame(dc, ref, font->Escapement / 10.0);
  dc.SetPainterTransform(frame.ToOutput);
  if (st.BkMode == OPAQUE && !(run.Options & ETO_OPAQUE))
    p.fillRect(QRectF(shiftX, baseline - ascent, width, ascent + descent), ColorRefToQColor(st.BkColor));
  QColor color = ColorRefToQColor(st.TextColor);
  if (haveFont && !glyphs.isEmpty()) {
    if (stretch != 1) {
      dc.SetPainterTransform(QTransform::fromScale(stretch, 1) * frame.ToOutput);
      for (QPointF& pos : positions)
        pos.setX(pos.x() / stretch);
      shiftX /= stretch;
    }
    for (QPointF& pos : positions)
      pos += QPointF(shiftX, baseline);
    // Printers and PDF files take glyphs as text, so they keep it.
    if (p.paintEngine()->type() == QPaintEngine::Raster &&
        GlyphTooLargeToRaster(raw, glyphs, p.combinedTransform(), pixelEm, dc.Limits().RasterGlyphPixels)) {
      FillGlyphOutlines(p, raw, glyphs, positions, color);
    } else {
      QGlyphRun glyphRun;
      glyphRun.setRawFont(raw);
      glyphRun.setGlyphIndexes(glyphs);
      glyphRun.setPositions(positions);
      p.setPen(color);
      p.drawGlyphRun(QPointF(0, 0), glyphRun);
    }
    if (stretch != 1) {
      dc.SetPainterTransform(frame.ToOutput);
      shiftX *= stretch;
    }
  }
  if (font->Underline || font->StrikeOut) {
    double thickness = haveFont ? std::max(1.0, raw.lineThickness()) : std::max(1.0, pixelEm / 14);
    if (font->Underline) {
      double pos = haveFont ? raw.underlinePosition() : descent / 2;
      p.fillRect(QRectF(shiftX, baseline + pos, width, thickness), color);
    }
    if (font->StrikeOut) {
      double pos = haveFont ? raw.xHeight() / 2 : ascent / 3;
      p.fillRect(QRectF(shiftX, baseline - pos - thickness / 2, width, thickness), color);
    }
  }
  if (clipped) p.restore();
  dc.ResetPainterTransform();

  if (updateCP && scale > 0) {
    double advance = horz == TA_CENTER ? 0 : horz == TA_RIGHT ? -width : width;
    // Back from output pixels to logical units along the baseline.
    st.CurrentPos += QPointF(advance / scale, 0);
  }
  return true;
}
