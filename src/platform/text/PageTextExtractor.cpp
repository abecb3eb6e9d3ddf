// The walk over a page's records: the state that places text (mapping, world transform, fonts, alignment,
// current position) and the runs of the text records.
#include <cmath>
#include <memory>
#include <optional>

#include "EmfPlusPlayback.h"
#include "PageText.h"
#include "TextFonts.h"
#include "platform/metafile/Affine.h"
#include "platform/metafile/EmfRecordViews.h"
#include "platform/metafile/PageBudget.h"
#include "platform/metafile/PageMapping.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Utf8.h"

using namespace emf;

namespace {

// A record that is not applied, with the player's reasons.
class ESkipped : public EDamagedData {
  using EDamagedData::EDamagedData;
};

struct TLogFont {
  TFontRequest Request;
  int32_t Height = 12, Width = 0, Escapement = 0;
};

std::shared_ptr<const TLogFont> MakeStockFont(const char* face, int32_t height, int32_t weight) {
  auto f = std::make_shared<TLogFont>();
  f->Request.FaceName = face;
  f->Request.Weight = weight;
  f->Height = height;
  return f;
}

// The stock fonts (OEM_FIXED_FONT .. DEFAULT_GUI_FONT), as the player has them.
std::shared_ptr<const TLogFont> StockFont(uint32_t index) {
  static const std::shared_ptr<const TLogFont> fonts[] = {
      MakeStockFont("Courier New", 12, 400), MakeStockFont("Courier New", 12, 400),
      MakeStockFont("Arial", 12, 400),       MakeStockFont("Arial", 16, 700),
      MakeStockFont("Arial", 16, 700),       nullptr,
      MakeStockFont("Courier New", 16, 400), MakeStockFont("Arial", -11, 400),
  };
  index &= ~STOCK_OBJECT;
  if (index < 10 || index > 17) return nullptr;
  return fonts[index - 10];
}

struct TTextState {
  TPageMapping Mapping;
  TAffine World;
  uint32_t TextAlign = 0;
  double CurrentX = 0, CurrentY = 0; // logical units
  std::shared_ptr<const TLogFont> Font;
};

// One string of a text record, logical units.
struct TRecordString {
  double RefX = 0, RefY = 0;
  std::u16string Text;
  std::vector<double> Dx, Dy;
  uint32_t Options = 0;
  bool Clipped = false; // ETO_CLIPPED with its rectangle (logical units)
  RectL Clip;
};

TAffine Playback(const TEnhMetaHeader& h, double width, double height) {
  double mmx = h.szlMillimeters.cx > 0 ? h.szlMillimeters.cx : 1,
         mmy = h.szlMillimeters.cy > 0 ? h.szlMillimeters.cy : 1;
  double kx = h.szlDevice.cx / (mmx * 100), ky = h.szlDevice.cy / (mmy * 100);
  double left = h.rclFrame.left * kx, top = h.rclFrame.top * ky;
  double frameW = (h.rclFrame.right - h.rclFrame.left) * kx,
         frameH = (h.rclFrame.bottom - h.rclFrame.top) * ky;
  if (frameW <= 0 || frameH <= 0) {
    left = h.rclBounds.left;
    top = h.rclBounds.top;
    frameW = h.rclBounds.right - h.rclBounds.left;
    frameH = h.rclBounds.bottom - h.rclBounds.top;
  }
  // The preview plays into the inclusive rectangle (0, 0) - (width - 1, height - 1).
  double sx = frameW > 0 ? (width - 1) / frameW : 1, sy = frameH > 0 ? (height - 1) / frameH : 1;
  return {sx, 0, 0, sy, -left * sx, -top * sy};
}

class TPageTextReader {
 public:
  TPageTextReader(const TMetafile& page, TTextExtent extent, TPageText& out)
      : FOut(out), FExtent(extent), FPlus(page) {
    const TEnhMetaHeader& h = page.Header();
    FState.Mapping = TPageMapping(
        TReferenceDevice(h.szlDevice.cx, h.szlDevice.cy, h.szlMillimeters.cx, h.szlMillimeters.cy));
    FOut.Width = page.Width();
    FOut.Height = page.Height();
    FPlayback = Playback(h, FOut.Width, FOut.Height);
    FHandles.resize(std::max<size_t>(1, FPlus.HandleCount()));
  }

  void Record(const TEmfRecord& record) {
    // A page drawn only with EMF+ records: its strings as the GDI records every renderer draws.
    if (FPlus.Active() && record.Type == EMR_GDICOMMENT)
      FPlus.Translate(record, [this](const TEmfRecord& played) { Record(played); });
    try {
      Apply(record.Type, record.Data);
    } catch (const EDamagedData&) {
      // Skipped, as the player skips it; the rest of the page is read.
    }
  }

 private:
  void Apply(uint32_t type, ByteView rec) {
    TTextState& s = FState;
    switch (type) {
    case EMR_SETMAPMODE:
      s.Mapping.SetMapMode(ValueRecordView(rec).SignedValue());
      break;
    case EMR_SETWINDOWEXTEX:
    case EMR_SETVIEWPORTEXTEX: {
      SizeL ext = SizeRecordView(rec).Extent();
      if (type == EMR_SETWINDOWEXTEX)
        s.Mapping.SetWindowExt(ext.cx, ext.cy);
      else
        s.Mapping.SetViewportExt(ext.cx, ext.cy);
      break;
    }
    case EMR_SETWINDOWORGEX: {
      PointL p = PointRecordView(rec).Point();
      s.Mapping.SetWindowOrg(p.x, p.y);
      break;
    }
    case EMR_SETVIEWPORTORGEX: {
      PointL p = PointRecordView(rec).Point();
      s.Mapping.SetViewportOrg(p.x, p.y);
      break;
    }
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
      ScaleExtView v(rec);
      if (v.XNum() == 0 || v.XDenom() == 0 || v.YNum() == 0 || v.YDenom() == 0)
        throw ESkipped("scale of zero");
      const TPageSize& ext = type == EMR_SCALEWINDOWEXTEX ? s.Mapping.WindowExt() : s.Mapping.ViewportExt();
      double cx = ext.cx * v.XNum() / v.XDenom(), cy = ext.cy * v.YNum() / v.YDenom();
      if (type == EMR_SCALEWINDOWEXTEX)
        s.Mapping.SetWindowExt(cx, cy);
      else
        s.Mapping.SetViewportExt(cx, cy);
      break;
    }
    case EMR_SETWORLDTRANSFORM:
      s.World = Checked(ReadXForm(XFormView(rec)));
      break;
    case EMR_MODIFYWORLDTRANSFORM: {
      XFormView v(rec);
      TAffine t = ReadXForm(v);
      switch (v.Mode()) {
      case MWT_IDENTITY:
        s.World = TAffine();
        break;
      case MWT_LEFTMULTIPLY:
        s.World = Checked(Then(t, s.World));
        break;
      case MWT_RIGHTMULTIPLY:
        s.World = Checked(Then(s.World, t));
        break;
      case MWT_SET:
        s.World = Checked(t);
        break;
      default:
        throw ESkipped("unknown transform mode");
      }
      break;
    }
    case EMR_SAVEDC:
      if (FSaved.size() < 4096) FSaved.push_back(s);
      break;
    case EMR_RESTOREDC: {
      int32_t level = ValueRecordView(rec).SignedValue();
      int64_t index =
          level < 0 ? static_cast<int64_t>(FSaved.size()) + level : static_cast<int64_t>(level) - 1;
      if (level == 0 || index < 0 || index >= static_cast<int64_t>(FSaved.size()))
        throw ESkipped("no such saved level");
      s = FSaved[static_cast<size_t>(index)];
      FSaved.resize(static_cast<size_t>(index));
      break;
    }
    case EMR_SETTEXTALIGN:
      s.TextAlign = ValueRecordView(rec).Value();
      break;
    case EMR_MOVETOEX:
    case EMR_LINETO: {
      PointL p = PointRecordView(rec).Point();
      s.CurrentX = p.x;
      s.CurrentY = p.y;
      break;
    }
    case EMR_EXTCREATEFONTINDIRECTW:
      CreateFont(rec);
      break;
    case EMR_CREATEPEN:
    case EMR_EXTCREATEPEN:
    case EMR_CREATEBRUSHINDIRECT:
    case EMR_CREATEPALETTE:
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT:
    case EMR_DELETEOBJECT:
      // Another object takes the slot (or it is emptied): it holds no font any more.
      if (uint32_t index = ValueRecordView(rec).Value(); index < FHandles.size()) FHandles[index] = nullptr;
      break;
    case EMR_SELECTOBJECT: {
      uint32_t index = ValueRecordView(rec).Value();
      if (index & STOCK_OBJECT) {
        if (auto stock = StockFont(index)) s.Font = stock;
      } else if (index < FHandles.size() && FHandles[index]) {
        s.Font = FHandles[index];
      }
      break;
    }
    case EMR_EXTTEXTOUTW:
    case EMR_EXTTEXTOUTA:
      Draw(ReadEmrText(ExtTextOutView(rec).Text()));
      break;
    case EMR_POLYTEXTOUTW:
    case EMR_POLYTEXTOUTA: {
      PolyTextOutView v(rec);
      v.CheckTexts();
      for (uint32_t i = 0; i < v.Count(); ++i)
        Draw(ReadEmrText(v.Text(i)));
      break;
    }
    case EMR_SMALLTEXTOUT:
      Draw(ReadSmallText(SmallTextOutView(rec)));
      break;
    default:
      break;
    }
  }

  static TAffine ReadXForm(const XFormView& view) {
    XForm x = view.Transform();
    TAffine t{x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy};
    for (double d : {t.m11, t.m12, t.m21, t.m22, t.dx, t.dy})
      if (!std::isfinite(d)) throw ESkipped("transform is not finite");
    return t;
  }
  static TAffine Checked(const TAffine& t) {
    if (std::fabs(t.Det()) < 1e-12) throw ESkipped("singular transform");
    return t;
  }

  void CreateFont(ByteView rec) {
    CreateFontView v(rec);
    uint32_t index = v.Index();
    if (index == 0 || index >= FHandles.size()) throw ESkipped("object index outside the handle table");
    const LogFontView& lf = v.Font();
    auto font = std::make_shared<TLogFont>();
    font->Height = lf.Height();
    font->Width = lf.Width();
    font->Escapement = lf.Escapement();
    font->Request.FaceName = Utf16ToUtf8(lf.FaceName());
    font->Request.Weight = lf.Weight();
    font->Request.Italic = lf.Italic() != 0;
    font->Request.CharSet = lf.CharSet();
    font->Request.PitchAndFamily = lf.PitchAndFamily();
    FHandles[index] = std::move(font);
  }

  const TLogFont& Font() const {
    static const std::shared_ptr<const TLogFont> fallback = StockFont(STOCK_OBJECT | 14);
    return FState.Font ? *FState.Font : *fallback;
  }

  std::u16string DecodeAnsi(ByteView bytes) const {
    std::string_view s(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return DecodeCodePageText(s, CodePageOfCharSet(Font().Request.CharSet));
  }

  TRecordString ReadEmrText(const EmrTextView& t) const {
    TRecordString run;
    PointL ref = t.Reference();
    run.RefX = ref.x;
    run.RefY = ref.y;
    run.Options = t.Options();
    run.Clip = t.Rect();
    run.Clipped = (run.Options & ETO_CLIPPED) && !(run.Clip == RectL{});
    uint32_t count = t.Count();
    if (count == 0) return run;
    // Some writers leave the advances out or cut them short: then the font's spacing is used.
    bool pdy = (run.Options & ETO_PDY) != 0;
    std::vector<int32_t> dx;
    if (t.HasDx()) {
      Span<int32_t> all = t.Dx();
      dx.assign(all.begin(), all.end());
    }
    if (t.Wide()) {
      Span<char16_t> text = t.Utf16();
      run.Text.assign(text.begin(), text.end());
      for (uint32_t i = 0; i < count && !dx.empty(); ++i) {
        run.Dx.push_back(dx[pdy ? 2 * i : i]);
        if (pdy) run.Dy.push_back(dx[2 * i + 1]);
      }
    } else {
      // The advances are per byte: a character of several bytes takes their sum.
      ByteView bytes = t.Ansi().bytes();
      TCodePageText decoded =
          DecodeCodePageText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                             CodePageOfCharSet(Font().Request.CharSet), dx, pdy);
      run.Text = std::move(decoded.Text);
      run.Dx.assign(decoded.Dx.begin(), decoded.Dx.end());
      run.Dy.assign(decoded.Dy.begin(), decoded.Dy.end());
    }
    return run;
  }

  TRecordString ReadSmallText(const SmallTextOutView& v) const {
    TRecordString run;
    PointL ref = v.Reference();
    run.RefX = ref.x;
    run.RefY = ref.y;
    run.Options = v.Options();
    if (v.HasRect() && (run.Options & ETO_CLIPPED)) {
      run.Clip = v.Rect();
      run.Clipped = true;
    }
    if (v.Wide()) {
      Span<char16_t> text = v.Utf16();
      run.Text.assign(text.begin(), text.end());
    } else {
      run.Text = DecodeAnsi(v.Ansi().bytes());
    }
    return run;
  }

  void Draw(const TRecordString& record);
  bool OnPage(const TPageGlyphRun& run) const;

  TPageText& FOut;
  TTextExtent FExtent;
  TEmfPlusPlayback FPlus;
  TTextState FState;
  std::vector<TTextState> FSaved;
  std::vector<std::shared_ptr<const TLogFont>> FHandles;
  TAffine FPlayback;
};

void TPageTextReader::Draw(const TRecordString& record) {
  if (record.Text.empty()) return;
  TTextState& s = FState;
  const TLogFont& font = Font();
  const TTextFontFace& face = TextFontFace(font.Request);

  TPageSize scale = s.Mapping.Scale();
  const TPagePoint &wo = s.Mapping.WindowOrg(), &vo = s.Mapping.ViewportOrg();
  TAffine page{scale.cx, 0, 0, scale.cy, vo.x - wo.x * scale.cx, vo.y - wo.y * scale.cy};
  TAffine f = Then(Then(s.World, page), FPlayback);
  double det = f.Det();
  double pixels = std::isfinite(det) ? std::sqrt(std::fabs(det)) : 0; // page pixels per logical unit
  if (!(pixels > 1e-9 && pixels < 1e6)) return;

  double em = font.Height < 0 ? -double(font.Height) : font.Height > 0 ? font.Height * face.CellToEm : 12;
  double pixelEm = em * pixels;
  if (!(pixelEm > 0) || pixelEm > 20000) return;
  if (record.Text.size() * pixelEm > DefaultPageLimits().RunGlyphPixels) throw ESkipped("text too large");
  double stretch = 1;
  if (font.Width > 0 && face.AverageWidth > 0) stretch = font.Width / (face.AverageWidth * em);
  if (!(stretch > 0.01 && stretch < 100)) stretch = 1;

  TPageGlyphRun run;
  run.Text = record.Text;
  const size_t n = run.Text.size();
  bool glyphIndices = (record.Options & ETO_GLYPH_INDEX) != 0;
  if (glyphIndices)
    for (char16_t& c : run.Text)
      c = CharacterOfGlyph(face, c);
  else if (face.Symbol)
    // A symbol font draws pictures, not the letters of its codes: they read as its private-use characters
    // (its spaces stay blanks).
    for (char16_t& c : run.Text)
      if (c > 0x20 && c < 0x100 && c != 0xA0) c = static_cast<char16_t>(0xF000 + c);

  // Glyph origins along the baseline (x to the right, y down), page pixels.
  std::vector<double> xs(n + 1), ys(n + 1);
  double x = 0, y = 0;
  for (size_t i = 0; i < n; ++i) {
    xs[i] = x;
    ys[i] = y;
    if (i < record.Dx.size()) {
      x += record.Dx[i] * pixels;
      if (i < record.Dy.size()) y -= record.Dy[i] * pixels;
      continue;
    }
    char32_t ch = run.Text[i];
    bool pair =
        ch >= 0xD800 && ch < 0xDC00 && i + 1 < n && run.Text[i + 1] >= 0xDC00 && run.Text[i + 1] < 0xE000;
    if (pair) ch = 0x10000 + ((ch - 0xD800) << 10) + (run.Text[i + 1] - 0xDC00);
    double advance = glyphIndices && face.Face ? face.Face->GlyphAdvance(record.Text[i]) / 1000.0
                                               : NaturalAdvance(face, ch);
    x += advance * pixelEm * stretch;
    if (pair) {
      xs[++i] = x;
      ys[i] = y;
    }
  }
  xs[n] = x;
  ys[n] = y;
  double width = x;

  double ascent = face.Ascent * pixelEm, descent = face.Descent * pixelEm;
  uint32_t horz = s.TextAlign & TA_CENTER, vert = s.TextAlign & TA_BASELINE;
  double shiftX = horz == TA_CENTER ? -width / 2 : horz == TA_RIGHT ? -width : 0;
  double baseline = vert == TA_BASELINE ? 0 : vert == TA_BOTTOM ? -descent : ascent;

  // The text frame: text is never mirrored by the mapping; the escapement turns the other way under a
  // mapping that mirrors one axis.
  bool updateCP = (s.TextAlign & TA_UPDATECP) != 0;
  double refX = updateCP ? s.CurrentX : record.RefX, refY = updateCP ? s.CurrentY : record.RefY;
  double a = f.m11 / pixels, b = f.m12 / pixels, c = f.m21 / pixels, d = f.m22 / pixels;
  double escapement = font.Escapement / 10.0;
  if (det < 0) {
    c = -c;
    d = -d;
    escapement = -escapement;
  }
  double ox, oy;
  f.Map(refX, refY, ox, oy);
  double r = escapement * M_PI / 180, cs = std::cos(r), sn = std::sin(r);
  // Rotation by -escapement (y down) then the frame.
  TAffine frame = Then(TAffine{cs, -sn, sn, cs, 0, 0}, TAffine{a, b, c, d, ox, oy});

  run.Boxes.resize(n);
  for (size_t i = 0; i < n; ++i) {
    double x0 = xs[i] + shiftX, x1 = xs[i + 1] + shiftX;
    if (i + 1 < n && run.Text[i] >= 0xD800 && run.Text[i] < 0xDC00) x1 = xs[i + 2] + shiftX;
    double top = ys[i] + baseline - ascent, bottom = ys[i] + baseline + descent;
    TPageTextBox& box = run.Boxes[i];
    if (i > 0 && run.Text[i] >= 0xDC00 && run.Text[i] < 0xE000 && run.Text[i - 1] >= 0xD800 &&
        run.Text[i - 1] < 0xDC00) {
      box = run.Boxes[i - 1];
      continue;
    }
    box = {1e300, 1e300, -1e300, -1e300};
    for (double cx : {x0, x1})
      for (double cy : {top, bottom}) {
        double px, py;
        frame.Map(cx, cy, px, py);
        box.Left = std::min(box.Left, px);
        box.Right = std::max(box.Right, px);
        box.Top = std::min(box.Top, py);
        box.Bottom = std::max(box.Bottom, py);
      }
    if (run.Text[i] < 0x20) run.Text[i] = u' ';
  }
  // Characters the record's clipping rectangle hides are not drawn.
  if (record.Clipped) {
    double x0, y0, x1, y1;
    f.Map(record.Clip.left, record.Clip.top, x0, y0);
    f.Map(record.Clip.right, record.Clip.bottom, x1, y1);
    const double left = std::min(x0, x1), right = std::max(x0, x1), top = std::min(y0, y1),
                 bottom = std::max(y0, y1);
    size_t kept = 0;
    for (size_t i = 0; i < run.Boxes.size(); ++i) {
      const TPageTextBox& box = run.Boxes[i];
      const double cx = (box.Left + box.Right) / 2, cy = (box.Top + box.Bottom) / 2;
      if (cx < left || cx > right || cy < top || cy > bottom) continue;
      run.Text[kept] = run.Text[i];
      run.Boxes[kept++] = box;
    }
    run.Text.resize(kept);
    run.Boxes.resize(kept);
  }
  if (OnPage(run)) {
    frame.Map(shiftX, baseline, run.OriginX, run.OriginY);
    run.Angle = std::atan2(-frame.m12, frame.m11) * 180 / M_PI;
    run.Height = ascent + descent;
    FOut.Runs.push_back(std::move(run));
  }
  if (updateCP) {
    double advance = horz == TA_CENTER ? 0 : horz == TA_RIGHT ? -width : width;
    s.CurrentX += advance / pixels;
  }
}

// Text wholly outside the page is not what the page shows.
bool TPageTextReader::OnPage(const TPageGlyphRun& run) const {
  if (FExtent == TTextExtent::Drawing) return true;
  for (const TPageTextBox& box : run.Boxes)
    if (box.Right >= 0 && box.Left <= FOut.Width && box.Bottom >= 0 && box.Top <= FOut.Height) return true;
  return false;
}

} // namespace

TPageText ExtractPageText(const TMetafile& page, TTextExtent extent) {
  TPageText text;
  if (page.Empty()) return text;
  TPageTextReader reader(page, extent, text);
  page.EnumerateRecords([&](const TEmfRecord& record) {
    reader.Record(record);
    return 1;
  });
  return text;
}
