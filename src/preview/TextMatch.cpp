#include "TextMatch.h"

namespace {

bool IsBlank(char16_t ch) {
  return ch == u' ' || ch == u'\n' || ch == u'\t' || ch == u'\r' || ch == u'\u00A0' || ch == u'\f';
}

// The folded text and, for each of its units, the unit of the original it came from.
QString Fold(std::u16string_view text, bool matchCase, std::vector<int>* origin) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t ch = text[i];
    if (IsBlank(ch)) {
      if (out.isEmpty() || out.back() == u' ') continue;
      ch = u' ';
    } else if (!matchCase) {
      ch = QChar(ch).toCaseFolded().unicode();
    }
    out.append(QChar(ch));
    if (origin) origin->push_back(static_cast<int>(i));
  }
  return out;
}

} // namespace

std::vector<TTextMatch> FindMatches(std::u16string_view text, const QString& query, bool matchCase) {
  std::vector<TTextMatch> matches;
  const std::u16string typed = query.trimmed().toStdU16String();
  const QString needle = Fold(typed, matchCase, nullptr);
  if (needle.isEmpty()) return matches;
  std::vector<int> origin;
  const QString haystack = Fold(text, matchCase, &origin);
  for (qsizetype at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, at + 1)) {
    const int first = origin[static_cast<size_t>(at)];
    const int last = origin[static_cast<size_t>(at + needle.size() - 1)];
    matches.push_back({first, last - first + 1});
  }
  return matches;
}
