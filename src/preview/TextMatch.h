#pragma once
// Finding a typed string in a page's text: letters compared case-folded unless the case is to match, and
// any run of white space (line breaks included) on either side read as one space, so a phrase broken
// over two lines or set with wider gaps is still found.
#include <QString>
#include <string_view>
#include <vector>

struct TTextMatch {
  int Start = 0, Length = 0; // UTF-16 units of the page's text
};

// Every match from the start of the text, in order (a match may begin inside the one before it).
std::vector<TTextMatch> FindMatches(std::u16string_view text, const QString& query, bool matchCase);
