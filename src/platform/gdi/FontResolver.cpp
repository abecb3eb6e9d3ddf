#include "FontResolver.h"

#include <QFont>
#include <QHash>
#include <QMutex>

#include "platform/fonts/FontService.h"

namespace {
// The em size fonts are resolved at; drawing resizes a copy.
constexpr int kReferencePixels = 256;

TFontRequest RequestOf(const TGdiFont& f) {
  TFontRequest request;
  request.FaceName = f.FaceName.toStdString();
  request.Weight = f.Weight;
  request.Italic = f.Italic;
  request.CharSet = f.CharSet;
  request.PitchAndFamily = f.PitchAndFamily;
  return request;
}

// One loaded file per matched face: fonts of many records share it.
QRawFont RawFontOf(const TFontLocation& location) {
  static QMutex mutex;
  static QHash<QString, QRawFont> cache;
  QString file = QString::fromStdString(location.File);
  QMutexLocker lock(&mutex);
  auto it = cache.constFind(file);
  if (it != cache.constEnd()) return *it;
  QRawFont raw(file, kReferencePixels);
  cache.insert(file, raw);
  return raw;
}

// The matched family from Qt's own font database, in the asked style (Qt emulates bold and oblique where the
// face lacks them). Qt's PDF and printer engines keep text as text only for fonts it knows by file name; a
// font loaded from its bytes would be drawn there as outlines. Empty when Qt does not know the family.
QRawFont FromFontDatabase(const TGdiFont& f, const TFontLocation& location) {
  QFont qf(QString::fromStdString(location.Family));
  qf.setPixelSize(kReferencePixels);
  qf.setWeight(static_cast<QFont::Weight>(f.Weight <= 0 ? 400 : std::min(f.Weight, 1000)));
  qf.setItalic(f.Italic);
  qf.setStyleStrategy(
      QFont::StyleStrategy(QFont::PreferOutline | QFont::ForceOutline | QFont::NoFontMerging));
  QRawFont raw = QRawFont::fromFont(qf);
  if (!raw.isValid() || raw.familyName().compare(qf.family(), Qt::CaseInsensitive) != 0) return {};
  return raw;
}
} // namespace

QString MatchFamily(const QString& face, uint8_t pitchAndFamily) {
  TFontRequest request;
  request.FaceName = face.toStdString();
  request.PitchAndFamily = pitchAndFamily;
  TFontLocation location = TFontService::Instance().Match(request);
  if (!location.Family.empty()) return QString::fromStdString(location.Family);
  return face.isEmpty() ? QStringLiteral("sans-serif") : face;
}

void ResolveFont(const TGdiFont& f) {
  if (f.Resolved) return;
  f.Resolved = true;
  auto face = TFontService::Instance().Open(RequestOf(f));
  if (!face) return;
  const TFontLocation& location = face->Location();
  if (!location.Symbol) f.Raw = FromFontDatabase(f, location);
  // QRawFont reads the first face of a file only.
  if (!f.Raw.isValid() && location.FaceIndex == 0) f.Raw = RawFontOf(location);
  if (!f.Raw.isValid()) return;
  f.Raw.setPixelSize(kReferencePixels);
  // GDI's cell for a positive lfHeight and its average width, from the face's own metrics.
  TFontTextMetrics metrics = face->TextMetrics(-1000);
  if (metrics.Height > 0) f.CellToEm = 1000.0 / metrics.Height;
  if (metrics.AveCharWidth > 0) f.AvgCharWidthPerEm = metrics.AveCharWidth / 1000.0;
}

QVector<quint32> GlyphIndexesForText(const TGdiFont& f, const QRawFont& raw, const QString& text) {
  auto face = TFontService::Instance().Open(RequestOf(f));
  if (!face || !face->Location().Symbol) return raw.glyphIndexesForString(text);
  int codePage = CodePageOfCharSet(f.CharSet);
  QVector<quint32> glyphs;
  glyphs.reserve(text.size());
  for (QChar ch : text) {
    uint16_t glyph = face->GlyphIndex(ch.unicode());
    if (!glyph) {
      int byte = Utf16ToCodePageByte(ch.unicode(), codePage);
      if (byte >= 0) glyph = face->GlyphIndex(static_cast<char32_t>(byte));
    }
    glyphs.push_back(glyph);
  }
  return glyphs;
}
