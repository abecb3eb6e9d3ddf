#pragma once
// TPdfCanvas: writes the current page's content stream, one method per PDF operator, plus the figures
// PDF has no operator for, XObject placement, font selection into the page and the mapping from
// metafile logical coordinates to PDF points. A document owns exactly one canvas; AddPage retargets it.
//
// Without a content stream every operator writes nothing. Text-state operators are written only when
// the value differs from the page's current one. Used by one thread at a time; no locks.
//
// Fonts are found by family name or LOGFONT (SetFont) and shown through the content writer's text
// routines (TPdfWrite::AddUnicodeHexText...); metafile rendering is added by the renderer layer, which
// maps coordinates through the fields below.
#include <cstdint>
#include <string>
#include <vector>

#include "pdf/PdfLogFont.h"
#include "pdf/PdfTypes.h"

class TPdfDocument;
class TPdfDictionary;
class TPdfFont;
class TPdfFontTrueType;
class TPdfPage;
class TPdfStream;
class TPdfWrite;
class TMetafile;

enum TPdfCanvasRenderMetaFileTextPositioning : uint8_t {
  tpKerningFromAveragePosition,
  tpSetTextJustification,
  tpExactTextCharacterPositining
};
enum TLineCapStyle : uint8_t { lcButt_End, lcRound_End, lcProjectingSquareEnd };
enum TLineJoinStyle : uint8_t { ljMiterJoin, ljRoundJoin, ljBevelJoin };
enum TTextRenderingMode : uint8_t {
  trFill,
  trStroke,
  trFillThenStroke,
  trInvisible,
  trFillClipping,
  trStrokeClipping,
  trFillStrokeClipping,
  trClipping
};

class TPdfCanvas {
 public:
  explicit TPdfCanvas(TPdfDocument* APdfDoc);
  TPdfCanvas(const TPdfCanvas&) = delete;
  TPdfCanvas& operator=(const TPdfCanvas&) = delete;
  virtual ~TPdfCanvas() = default;

  // Binds the canvas to a page (none detaches it): its "Font" resources and "Contents" stream. Writes
  // nothing.
  virtual void SetPage(TPdfPage* APage);

  // Graphics state and paths.
  void GSave() { Operator("q\n"); }
  void GRestore() { Operator("Q\n"); }
  void ConcatToCTM(double a, double b, double c, double d, double e, double f, int Decimals = 2);
  void SetFlat(uint8_t flatness);
  void SetLineCap(TLineCapStyle linecap);
  void SetLineJoin(TLineJoinStyle linejoin);
  void SetDash(const std::vector<int32_t>& aarray, int32_t phase);
  // A dash pattern of lengths in points (phase 0); an empty or all-zero pattern is a solid line.
  void SetDashPoints(const std::vector<float>& Lengths);
  void SetLineWidth(float linewidth);
  void SetMiterLimit(float miterlimit);
  void MoveTo(float x, float y);
  void LineTo(float x, float y);
  void CurveToC(float x1, float y1, float x2, float y2, float x3, float y3);
  void CurveToV(float x2, float y2, float x3, float y3);
  void CurveToY(float x1, float y1, float x3, float y3);
  void Rectangle(float x, float y, float width, float height);
  void Closepath() { Operator("h\n"); }
  void NewPath(); // also sets FNewPath without a content stream
  void Stroke() { Operator("S\n"); }
  void ClosePathStroke() { Operator("s\n"); }
  void Fill() { Operator("f\n"); }
  void EoFill() { Operator("f*\n"); }
  void FillStroke() { Operator("B\n"); }
  void ClosepathFillStroke() { Operator("b\n"); }
  void EofillStroke() { Operator("B*\n"); }
  void ClosepathEofillStroke() { Operator("b*\n"); }
  void Clip() { Operator("W\n"); }
  void EoClip() { Operator("W*\n"); }

  // Text state; the page's setter limits apply (EPdfInvalidValue, nothing written).
  void SetCharSpace(float charSpace);
  void SetWordSpace(float wordSpace);
  void SetHorizontalScaling(float hScaling); // the page clamps to 10..300, Tz carries the argument
  void SetLeading(float leading);
  void SetFontAndSize(const std::string& fontshortcut, float size);
  void SetTextRenderingMode(TTextRenderingMode mode);
  void SetTextRise(uint16_t rise);
  void BeginText() { Operator("BT\n"); }
  void EndText() { Operator("ET\n"); }
  void MoveTextPoint(float tx, float ty);
  void SetTextMatrix(float a, float b, float c, float d, float x, float y);
  void MoveToNextLine() { Operator("T*\n"); }

  void ExecuteXObject(const std::string& xObject);
  // A negative (system) colour is resolved first.
  void SetRGBFillColor(TPdfColor Value);
  void SetRGBStrokeColor(TPdfColor Value);
  void SetCMYKFillColor(int C, int M, int Y, int K);
  void SetCMYKStrokeColor(int C, int M, int Y, int K);

  // Selects a font into the page: adds it to the "Font" resources and writes "Tf" unless the page already
  // has this font at this size. A size outside 0..2000 raises "SetFontSize" after the operator.
  void SetPDFFont(TPdfFont* AFont, float ASize);
  // The WinAnsi TrueType font of a family, style (fsBold...) and character set (negative: the document's),
  // created on first request. The family is AForceTTF when that is 0 or more; otherwise AName, or when
  // it is not installed: the name it resolved to before, "Courier New" for a fixed-width request, a
  // substitute for "Helvetica...", "Courier...", "Times..." names, the fallback family, "Arial". With
  // AForceTTF -1 the font is also selected at ASize. None when no family is found.
  TPdfFontTrueType* SetFont(const std::string& AName, float ASize, TPdfFontStyle AStyle, int ACharSet = -1,
                            int AForceTTF = -1, bool AIsFixedWidth = false);
  // The same from a metafile's LOGFONT (a trailing " CE" of the face name dropped); always selects.
  TPdfFontTrueType* SetFont(const TLogFontW& ALogFont, float ASize);

  // Places an XObject the document knows so that it fills (X, Y, AWidth, AHeight) in points.
  // EPdfInvalidValue "DrawXObject: unknown <name>" or "DrawXObject: no XObject" before anything is written.
  void DrawXObject(float X, float Y, float AWidth, float AHeight, const std::string& AXObjectName);
  // The same, clipped to (ClipX, ClipY, ClipWidth, ClipHeight).
  void DrawXObjectEx(float X, float Y, float AWidth, float AHeight, float ClipX, float ClipY, float ClipWidth,
                     float ClipHeight, const std::string& AXObjectName);

  // Figure paths (arguments in points); painting is the caller's.
  void Ellipse(float x, float y, float width, float height);
  void RoundRect(float x1, float y1, float x2, float y2, float cx, float cy);

  // Width in points of zero-terminated UTF-16 text in the page's current font at its size; characters
  // the font and the fallback font lack count 600/1000 em.
  float UnicodeTextWidth(const char16_t* PW);
  float TextWidth(const std::string& Text) const;
  int MeasureText(const std::string& Text, float Width) const;

  // Coordinate mapping of the metafile renderer (results in points, computed in extended precision).
  float MapWindowX(double x) const;
  float MapWindowY(double y) const;
  float ToPdfX(double x) const;
  float ToPdfY(double y) const;
  TPdfRect RectToPdf(const TPdfIntRect& r, bool sort) const;
  void MoveToLogical(double x, double y);
  void LineToLogical(double x, double y);
  void CurveToLogical(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3);
  void RoundRectLogical(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t cx, int32_t cy);
  static void SortRectEdges(TPdfIntRect& r);
  static void SortRectEdges(TPdfRect& r);

  // Draws a metafile into the page between "q" and "Q" (the renderer, PdfEnum.h): Scale multiplies the
  // points per screen pixel, (XOff, YOff) moves the picture, in points. An error of the renderer is raised
  // after the "Q".
  void RenderMetaFile(const TMetafile& MF, float Scale = 1.0f, float XOff = 0, float YOff = 0,
                      TPdfCanvasRenderMetaFileTextPositioning TextPositioning = tpSetTextJustification,
                      float KerningHScaleBottom = 99.0f, float KerningHScaleTop = 101.0f);

  TPdfStream* Contents() const { return FContents; }
  // EPdfInvalidOperation "GetPage" / "GetDoc" when unset.
  TPdfPage* Page() const;
  TPdfDocument* Doc() const;
  bool HasPage() const { return FPage != nullptr; }
  bool RightToLeftText() const { return fRightToLeftText; }
  void SetRightToLeftText(bool Value) { fRightToLeftText = Value; }

  // Mapping and rendering state, written by the metafile renderer whenever the metafile changes it.
  float FFactor;
  float FFactorX, FFactorY;
  float FOffsetXDef = 0, FOffsetYDef = 0;
  float FWorldFactorX = 0, FWorldFactorY = 0;
  float FWorldOffsetX = 0, FWorldOffsetY = 0;
  float FDevScale = 1.0f;
  TPdfIntSize FWinSize, FViewSize;
  TPdfIntPoint FWinOrg, FViewOrg;
  TPdfIntPoint FPrinterPxPerInch;
  // Set by NewPath; cleared by DrawXObjectEx and the renderer; carried over from page to page.
  bool FNewPath = false;
  TPdfCanvasRenderMetaFileTextPositioning fUseMetaFileTextPositioning = tpSetTextJustification;
  float fKerningHScaleBottom = 99.0f, fKerningHScaleTop = 101.0f;
  std::string FPreviousRasterFontName;
  int32_t FPreviousRasterFontIndex = 0;

 protected:
  // The fallback family's font for measuring, at the current font's style, not selected on the page;
  // none while the document cannot build TrueType fonts.
  virtual TPdfFont* FallbackFont();

  TPdfStream* FContents = nullptr;
  TPdfPage* FPage = nullptr;
  TPdfDictionary* FPageFontList = nullptr;
  TPdfDocument* FDoc;
  bool fRightToLeftText = false;

 private:
  // The content writer, none without a content stream.
  TPdfWrite* W() const;
  void Operator(const char* Text);
  void Points(std::initializer_list<float> Values, const char* Op);
  void RegisterXObjectOnPage(const std::string& AName);
  void PlaceXObject(float X, float Y, float AWidth, float AHeight, const std::string& AName);
};
