// Lines, fills, regions and clips whose records claim huge work: dashes along long paths, fills and strokes
// crossing the page thousands of times, regions of crossing bars, clips built record by record and a large
// pattern brush over many small fills.
#include <cmath>
#include <numeric>

#include "HostilePage.h"
#include "HostileRecords.h"

namespace {
using namespace emf;
using hostile::Emit;

constexpr int32_t kSize = 1000;

// Records the writer has no call for, into a pen and a brush handle reserved through the writer.
struct TRaw {
  TEmfWriter& W;
  uint32_t Pen = W.CreateSolidBrush(0), Brush = W.CreateSolidBrush(0);

  void Empty(uint32_t type) {
    TEmfRecordBuilder b(type);
    Emit(W, b);
  }
  void Value(uint32_t type, uint32_t v) {
    TEmfRecordBuilder b(type);
    b.U32(v);
    Emit(W, b);
  }
  void Rect(uint32_t type, int32_t l, int32_t t, int32_t r, int32_t bottom) {
    TEmfRecordBuilder b(type);
    b.Rect(l, t, r, bottom);
    Emit(W, b);
  }
  void Point(uint32_t type, int32_t x, int32_t y) {
    TEmfRecordBuilder b(type);
    b.I32(x).I32(y);
    Emit(W, b);
  }
  // EXTCREATEPEN, selected.
  void ExtPen(uint32_t style, uint32_t width, std::vector<uint32_t> entries = {}) {
    TEmfRecordBuilder b(EMR_EXTCREATEPEN);
    b.U32(Pen).U32(0).U32(0).U32(0).U32(0);
    b.U32(style).U32(width).U32(BS_SOLID).U32(0x000080).U32(0).U32(uint32_t(entries.size()));
    for (uint32_t e : entries)
      b.U32(e);
    Emit(W, b);
    Value(EMR_SELECTOBJECT, Pen);
  }
  void SolidBrush(uint32_t color) {
    TEmfRecordBuilder b(EMR_CREATEBRUSHINDIRECT);
    b.U32(Brush).U32(BS_SOLID).U32(color).U32(0);
    Emit(W, b);
    Value(EMR_SELECTOBJECT, Brush);
  }
  // POLYLINE16, POLYGON16 or POLYBEZIER16.
  void Poly16(uint32_t type, const std::vector<TPointL>& pts) {
    TEmfRecordBuilder b(type);
    b.Rect(0, 0, kSize, kSize).U32(uint32_t(pts.size()));
    for (TPointL p : pts)
      b.I16(int16_t(p.x)).I16(int16_t(p.y));
    Emit(W, b);
  }
};

// Region data of rectangles.
void RegionData(TEmfRecordBuilder& b, const std::vector<TEmfRect>& rects) {
  b.U32(32).U32(1).U32(uint32_t(rects.size())).U32(uint32_t(rects.size() * 16));
  b.Rect(-100000, -100000, 100000, 100000);
  for (const TEmfRect& r : rects)
    b.Rect(r.left, r.top, r.right, r.bottom);
}
uint32_t RegionBytes(const std::vector<TEmfRect>& rects) {
  return uint32_t(32 + 16 * rects.size());
}

// Points alternating between the top and the bottom of the page, each segment crossing it.
std::vector<TPointL> ZigZag(size_t n, int32_t size) {
  std::vector<TPointL> pts(n);
  for (size_t i = 0; i < n; ++i)
    pts[i] = {int32_t(10 + (i * 7) % size_t(size - 20)), i % 2 ? size - 10 : 10};
  return pts;
}

// A star polygon {n/k} with k near n/2: every edge crosses the page, every pair of edges intersects.
std::vector<TPointL> Star(size_t n, int32_t size) {
  size_t k = n / 2 - 1;
  while (std::gcd(n, k) != 1)
    --k;
  std::vector<TPointL> pts(n);
  double r = size / 2.0 - 20;
  for (size_t i = 0; i < n; ++i) {
    double a = 2 * 3.14159265358979 * double((i * k) % n) / double(n);
    pts[i] = {int32_t(size / 2.0 + r * std::cos(a)), int32_t(size / 2.0 + r * std::sin(a))};
  }
  return pts;
}

// `count` one-pixel vertical bars and as many horizontal ones, two pixels apart.
std::vector<TEmfRect> CrossingBars(int32_t count) {
  std::vector<TEmfRect> rects;
  for (int32_t i = 0; i < count; ++i)
    rects.push_back({2 * i, 0, 2 * i + 1, 2 * count});
  for (int32_t i = 0; i < count; ++i)
    rects.push_back({0, 2 * i, 2 * count, 2 * i + 1});
  return rects;
}

std::vector<TEmfRect> Checkerboard(int32_t cells, int32_t cell) {
  std::vector<TEmfRect> rects;
  int32_t side = int32_t(std::sqrt(2.0 * cells)) + 1;
  for (int32_t y = 0; y < side && int32_t(rects.size()) < cells; ++y)
    for (int32_t x = y % 2; x < side && int32_t(rects.size()) < cells; x += 2)
      rects.push_back({x * cell, y * cell, (x + 1) * cell, (y + 1) * cell});
  return rects;
}

void DashedPolyline(TEmfWriter& w, uint32_t style, uint32_t width, std::vector<uint32_t> entries, size_t n) {
  TRaw p{w};
  p.ExtPen(style, width, std::move(entries));
  p.Poly16(EMR_POLYLINE16, ZigZag(n, kSize));
}

void WidenedDashedPath(TEmfWriter& w, size_t n) {
  TRaw p{w};
  p.ExtPen(PS_GEOMETRIC | PS_USERSTYLE, 2, {0, 0});
  p.Empty(EMR_BEGINPATH);
  p.Poly16(EMR_POLYLINE16, ZigZag(n, kSize));
  p.Empty(EMR_ENDPATH);
  p.Empty(EMR_WIDENPATH);
  p.Rect(EMR_FILLPATH, 0, 0, kSize, kSize);
}

void StarFill(TEmfWriter& w, size_t n) {
  TRaw p{w};
  p.Value(EMR_SETPOLYFILLMODE, WINDING);
  p.Poly16(EMR_POLYGON16, Star(n, kSize));
}

void SolidZigZag(TEmfWriter& w, uint32_t width, size_t n) {
  TRaw p{w};
  p.ExtPen(PS_GEOMETRIC | PS_SOLID, width);
  p.Poly16(EMR_POLYLINE16, ZigZag(n, kSize));
}

void ManyFigures(TEmfWriter& w, size_t figures) {
  TRaw p{w};
  p.Empty(EMR_BEGINPATH);
  for (size_t i = 0; i < figures; ++i) {
    int32_t x = int32_t(i * 13 % 900);
    p.Poly16(EMR_POLYGON16, {{x, 0}, {x + 100, 990}, {x + 50, 990}});
  }
  p.Empty(EMR_ENDPATH);
  p.Rect(EMR_STROKEANDFILLPATH, 0, 0, kSize, kSize);
}

void FlattenedBeziers(TEmfWriter& w, size_t curves) {
  TRaw p{w};
  std::vector<TPointL> pts = ZigZag(3 * curves + 1, kSize);
  p.Empty(EMR_BEGINPATH);
  p.Poly16(EMR_POLYBEZIER16, pts);
  p.Empty(EMR_ENDPATH);
  p.Empty(EMR_FLATTENPATH);
  p.Rect(EMR_STROKEANDFILLPATH, 0, 0, kSize, kSize);
}

// One region record of `rects` of the given type, drawn with a solid brush where it takes one.
void RegionRecord(TEmfWriter& w, uint32_t type, const std::vector<TEmfRect>& rects) {
  TRaw p{w};
  p.SolidBrush(0x008000);
  TEmfRecordBuilder b(type);
  if (type == EMR_EXTSELECTCLIPRGN) {
    b.U32(RegionBytes(rects)).U32(RGN_COPY);
  } else {
    b.Rect(0, 0, kSize, kSize).U32(RegionBytes(rects));
    if (type == EMR_FILLRGN || type == EMR_FRAMERGN) b.U32(p.Brush);
    if (type == EMR_FRAMERGN) b.I32(2).I32(2);
  }
  RegionData(b, rects);
  Emit(w, b);
  if (type == EMR_EXTSELECTCLIPRGN) p.Rect(EMR_RECTANGLE, 0, 0, kSize, kSize);
}

void ClipPathStar(TEmfWriter& w, size_t n) {
  TRaw p{w};
  p.Empty(EMR_BEGINPATH);
  p.Poly16(EMR_POLYGON16, Star(n, kSize));
  p.Empty(EMR_ENDPATH);
  p.Value(EMR_SELECTCLIPPATH, RGN_COPY);
  p.Rect(EMR_RECTANGLE, 0, 0, kSize, kSize);
}

void ClipUnionWithLines(TEmfWriter& w, size_t records) {
  TRaw p{w};
  p.Point(EMR_MOVETOEX, 0, 0);
  for (size_t i = 0; i < records; ++i) {
    int32_t x = int32_t(i * 37 % 980), y = int32_t(i * 53 % 980);
    TEmfRecordBuilder b(EMR_EXTSELECTCLIPRGN);
    b.U32(32 + 16).U32(RGN_OR);
    RegionData(b, {{x, y, x + 7, y + 5}});
    Emit(w, b);
    p.Point(EMR_LINETO, int32_t(i * 71 % 1000), int32_t(i * 29 % 1000));
  }
}

void ExcludedRects(TEmfWriter& w, size_t count, bool nested) {
  TRaw p{w};
  for (size_t i = 0; i < count; ++i) {
    int32_t x = int32_t(i * 37 % 980), y = int32_t(i * 53 % 980);
    if (nested) p.Empty(EMR_SAVEDC);
    p.Rect(EMR_EXCLUDECLIPRECT, x, y, x + 6, y + 4);
  }
  p.Rect(EMR_RECTANGLE, 0, 0, kSize, kSize);
}

void RestoredClip(TEmfWriter& w, size_t repeats) {
  TRaw p{w};
  std::vector<TEmfRect> squares;
  for (int32_t y = 0; y < 75; ++y)
    for (int32_t x = 0; x < 75; ++x)
      squares.push_back({x * 13, y * 13, x * 13 + 9, y * 13 + 9});
  TEmfRecordBuilder b(EMR_EXTSELECTCLIPRGN);
  b.U32(RegionBytes(squares)).U32(RGN_COPY);
  RegionData(b, squares);
  Emit(w, b);
  for (size_t i = 0; i < repeats; ++i) {
    p.Empty(EMR_SAVEDC);
    p.Value(EMR_RESTOREDC, uint32_t(-1));
    TEmfRecordBuilder px(EMR_SETPIXELV);
    px.I32(int32_t(i % 1000)).I32(int32_t(i * 7 % 1000)).U32(0xFF);
    Emit(w, px);
  }
}

void MonoBrushFills(TEmfWriter& w, int32_t side, size_t fills) {
  TRaw p{w};
  uint32_t stride = uint32_t((side + 31) / 32 * 4);
  TEmfRecordBuilder b(EMR_CREATEMONOBRUSH);
  b.U32(p.Brush).U32(DIB_RGB_COLORS).U32(32).U32(48).U32(80).U32(stride * uint32_t(side));
  b.U32(40).I32(side).I32(side).U16(1).U16(1).U32(0).U32(stride * uint32_t(side)).I32(0).I32(0).U32(2).U32(0);
  b.U32(0x000000).U32(0xFFFFFF);
  for (int32_t y = 0; y < side; ++y)
    for (uint32_t x = 0; x < stride; ++x)
      b.U8(y % 2 ? 0xAA : 0x55);
  Emit(w, b);
  p.Value(EMR_SELECTOBJECT, p.Brush);
  p.Value(EMR_SELECTOBJECT, STOCK_OBJECT | 8);
  for (size_t i = 0; i < fills; ++i) {
    int32_t x = int32_t(i * 37 % 990), y = int32_t(i * 53 % 990);
    p.Rect(EMR_RECTANGLE, x, y, x + 4, y + 4);
  }
}
} // namespace

std::vector<THostileCase> HostileGeometryCases() {
  std::vector<THostileCase> cases = {
      {"dash-userstyle-zero-1k",
       [](TEmfWriter& w) {
         DashedPolyline(w, PS_GEOMETRIC | PS_USERSTYLE, 2, {0, 0}, 1000);
       },
       kSize, kSize},
      {"dash-userstyle-zero-10k",
       [](TEmfWriter& w) {
         DashedPolyline(w, PS_GEOMETRIC | PS_USERSTYLE, 2, {0, 0}, 10000);
       },
       kSize, kSize},
      {"widen-dashed-10k", [](TEmfWriter& w) { WidenedDashedPath(w, 10000); }, kSize, kSize},
      {"dot-geometric-2px-20k", [](TEmfWriter& w) { DashedPolyline(w, PS_GEOMETRIC | PS_DOT, 2, {}, 20000); },
       kSize, kSize},
      {"dash-geometric-3px-2k", [](TEmfWriter& w) { DashedPolyline(w, PS_GEOMETRIC | PS_DASH, 3, {}, 2000); },
       kSize, kSize},
      {"dot-cosmetic-20k", [](TEmfWriter& w) { DashedPolyline(w, PS_COSMETIC | PS_DOT, 1, {}, 20000); },
       kSize, kSize},
      {"star-fill-2k", [](TEmfWriter& w) { StarFill(w, 2000); }, kSize, kSize},
      {"star-fill-20k", [](TEmfWriter& w) { StarFill(w, 20000); }, kSize, kSize},
      {"solid-2px-200k", [](TEmfWriter& w) { SolidZigZag(w, 2, 200000); }, kSize, kSize},
      {"solid-900px-30k", [](TEmfWriter& w) { SolidZigZag(w, 900, 30000); }, kSize, kSize},
      {"path-24k-figures", [](TEmfWriter& w) { ManyFigures(w, 24000); }, kSize, kSize},
      {"beziers-80k-flattened", [](TEmfWriter& w) { FlattenedBeziers(w, 80000); }, kSize, kSize},
      {"framergn-checkerboard-5k",
       [](TEmfWriter& w) { RegionRecord(w, EMR_FRAMERGN, Checkerboard(5000, 10)); }, kSize, kSize},
      {"clip-path-star-500", [](TEmfWriter& w) { ClipPathStar(w, 500); }, kSize, kSize},
      {"clip-path-star-1000", [](TEmfWriter& w) { ClipPathStar(w, 1000); }, kSize, kSize},
      {"clip-or-lineto-1k", [](TEmfWriter& w) { ClipUnionWithLines(w, 1000); }, kSize, kSize},
      {"clip-or-lineto-4k", [](TEmfWriter& w) { ClipUnionWithLines(w, 4000); }, kSize, kSize},
      {"excludecliprect-2k", [](TEmfWriter& w) { ExcludedRects(w, 2000, false); }, kSize, kSize},
      {"savedc-excludecliprect-4096", [](TEmfWriter& w) { ExcludedRects(w, 4096, true); }, kSize, kSize},
      {"restored-clip-1k", [](TEmfWriter& w) { RestoredClip(w, 1000); }, kSize, kSize},
      {"monobrush-2000-20k-fills", [](TEmfWriter& w) { MonoBrushFills(w, 2000, 20000); }, kSize, kSize},
  };
  const std::pair<const char*, uint32_t> regionTypes[] = {{"paintrgn", EMR_PAINTRGN},
                                                          {"fillrgn", EMR_FILLRGN},
                                                          {"invertrgn", EMR_INVERTRGN},
                                                          {"framergn", EMR_FRAMERGN},
                                                          {"extselectcliprgn", EMR_EXTSELECTCLIPRGN}};
  for (auto [name, type] : regionTypes)
    for (int32_t bars : {3000, 10000}) {
      uint32_t t = type;
      cases.push_back({std::string(name) + "-bars-" + std::to_string(bars),
                       [t, bars](TEmfWriter& w) { RegionRecord(w, t, CrossingBars(bars)); }, kSize, kSize});
    }
  return cases;
}
