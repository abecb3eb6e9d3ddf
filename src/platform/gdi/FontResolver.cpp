#include "FontResolver.h"

#include <QFont>
#include <QHash>
#include <QMutex>
#include <fontconfig/fontconfig.h>

namespace {
const char* GenericFor(uint8_t pitchAndFamily) {
  switch (pitchAndFamily & 0xF0) {
  case 0x10:
    return "serif";
  case 0x30:
    return "monospace";
  default:
    return (pitchAndFamily & 3) == 1 ? "monospace" : "sans-serif";
  }
}
} // namespace

QString MatchFamily(const QString& face, uint8_t pitchAndFamily) {
  static QMutex mutex;
  static QHash<QString, QString> cache;
  QString key = face + QChar(u'\x01') + QString::number(pitchAndFamily);
  QMutexLocker lock(&mutex);
  auto it = cache.constFind(key);
  if (it != cache.constEnd()) return *it;
  QString result;
  FcPattern* pattern = FcPatternCreate();
  QByteArray name = face.toUtf8();
  if (!face.isEmpty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(GenericFor(pitchAndFamily)));
  FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult res = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(nullptr, pattern, &res)) {
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch && family)
      result = QString::fromUtf8(reinterpret_cast<const char*>(family));
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  if (result.isEmpty()) result = face.isEmpty() ? QStringLiteral("sans-serif") : face;
  cache.insert(key, result);
  return result;
}

void ResolveFont(const TGdiFont& f) {
  if (f.Resolved) return;
  f.Resolved = true;
  const int reference = 256;
  QFont qf(MatchFamily(f.FaceName, f.PitchAndFamily));
  qf.setPixelSize(reference);
  int weight = f.Weight <= 0 ? 400 : std::min(f.Weight, 1000);
  qf.setWeight(static_cast<QFont::Weight>(weight));
  qf.setItalic(f.Italic);
  qf.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::ForceOutline));
  f.Raw = QRawFont::fromFont(qf);
  if (!f.Raw.isValid()) return;
  f.Raw.setPixelSize(reference);
  double cell = f.Raw.ascent() + f.Raw.descent();
  if (cell > 0) f.CellToEm = reference / cell;
  double avg = f.Raw.averageCharWidth();
  if (avg > 0) f.AvgCharWidthPerEm = avg / reference;
}
