#pragma once
// What a metafile's EMF+ layer draws that GDI records can draw too: its strings (DrawString and
// DrawDriverString) and its filled and outlined shapes, each with everything that places it — the font,
// the colour, the string format, the pen's width and the transform from world units to the metafile's
// device pixels — kept through the object table, the world and page transforms and the saved states.
// Plain C++. Renderers that know only GDI records use it for metafiles whose pictures exist only as EMF+
// records, so that such pages are still shown, printed and found.
//
// Error policy: a record whose data does not fit, or names a missing object, is skipped; strings longer than
// kMaxPlusStringUnits and shapes of more than kMaxPlusShapePoints points are skipped; non-finite transforms
// are refused (the old one stays). Nothing raises out of Read() except for a comment whose record sizes are
// broken (EDamagedData), which the caller skips as it skips any damaged record.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Affine.h"
#include "EmfPlusRecords.h"

constexpr size_t kMaxPlusStringUnits = 32768;

struct TPlusFont {
  std::u16string Family;
  double EmWorld = 0; // the em in world units
  bool Bold = false, Italic = false, Underline = false, Strikeout = false;
};

// One glyph of a laid-out string, world units: the baseline origin and the advance along the baseline.
struct TPlusGlyph {
  char16_t Char = 0;   // the character (for a glyph index string: the index, see GlyphIndices)
  double X = 0, Y = 0; // baseline origin
  double Advance = 0;
};

struct TPlusString {
  std::u16string Text;
  TPlusFont Font;
  uint32_t Argb = 0xFF000000;
  TAffine ToDevice; // world units to the metafile's device pixels
  // DrawString: a layout rectangle and a format; DrawDriverString: a position for each glyph.
  bool Positioned = false;
  emfplus::RectF Layout;
  uint32_t Alignment = emfplus::AlignNear, LineAlignment = emfplus::AlignNear, FormatFlags = 0;
  std::vector<emfplus::PointF> Positions; // one per unit, or only the first (RealizedAdvance)
  bool GlyphIndices = false;              // DrawDriverString without character lookup
};

// A filled or stroked shape: figures of points with the layer's path point types (start, line, Bézier
// and the flag that closes a figure), world units.
struct TPlusShape {
  std::vector<emfplus::PointF> Points;
  std::vector<uint8_t> Types;
  bool Fill = true;
  uint32_t Argb = 0xFF000000;
  double PenWidth = 0; // world units; 0 draws the thinnest line
  TAffine ToDevice;
};

constexpr size_t kMaxPlusShapePoints = 65536;

// The font facts layout needs, at an em of 1.
struct TPlusFontMetrics {
  std::function<double(char32_t)> Advance; // natural advance of a character (or glyph index)
  double Ascent = 0.9, Descent = 0.2, LineSpacing = 1.15;
};

// Places the glyphs of a string: lines broken at line feeds and (unless the format says no wrapping) at
// spaces where a line outgrows the layout rectangle's width, aligned in the rectangle as the format asks;
// glyph strings at their positions (or advanced naturally from the first).
std::vector<TPlusGlyph> LayoutPlusString(const TPlusString& String, const TPlusFontMetrics& Metrics);

class TEmfPlusLayer {
 public:
  // `deviceDpi`: pixels per inch of the metafile's reference device (for fonts sized in points etc.
  // when the EMF+ header gives no resolution).
  explicit TEmfPlusLayer(double deviceDpi = 96);

  // Reads one GDI comment record (type and size included); calls `draw` for each string it draws and
  // `shape` (when given) for each shape.
  void Read(ByteView comment, const std::function<void(const TPlusString&)>& draw,
            const std::function<void(const TPlusShape&)>& shape = {});

  // The resolution the EMF+ layer was recorded at (its device pixels per inch).
  double Dpi() const { return FDpi; }

 private:
  struct TGraphicsState {
    TAffine World;
    uint32_t PageUnit = emfplus::UnitPixel;
    double PageScale = 1;
  };
  struct TFontObject {
    std::u16string Family;
    double EmSize = 0;
    uint32_t Unit = emfplus::UnitPixel, Style = 0;
    bool Valid = false;
  };
  struct TFormatObject {
    uint32_t Flags = 0, Alignment = 0, LineAlignment = 0;
    bool Valid = false;
  };
  struct TBrushObject {
    uint32_t Argb = 0xFF000000;
    bool Valid = false;
  };
  struct TPenObject {
    uint32_t Argb = 0xFF000000, Unit = emfplus::UnitWorld;
    double Width = 0;
    bool Valid = false;
  };
  struct TPathObject {
    std::vector<emfplus::PointF> Points;
    std::vector<uint8_t> Types;
    bool Valid = false;
  };

  void Apply(const emfplus::TPlusRecord& record, const std::function<void(const TPlusString&)>& draw);
  // The shape records; false for any other record.
  bool Shape(const emfplus::TPlusRecord& record, const std::function<void(const TPlusShape&)>& shape);
  void Transform(const emfplus::TPlusRecord& record);
  void ReadObject(const emfplus::TPlusRecord& record);
  void Push(uint32_t index);
  void Pop(uint32_t index);
  double UnitPixels(uint32_t unit) const;
  TAffine PageToDevice() const;
  bool FontOf(uint8_t id, TPlusFont& font) const;
  uint32_t ColorOf(bool colorBrush, uint32_t brush) const;

  double FDpi;
  TGraphicsState FState;
  std::vector<std::pair<uint32_t, TGraphicsState>> FStack;
  TFontObject FFonts[64];
  TFormatObject FFormats[64];
  TBrushObject FBrushes[64];
  TPenObject FPens[64];
  TPathObject FPaths[64];
};
