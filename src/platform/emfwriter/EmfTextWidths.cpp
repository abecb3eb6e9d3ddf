#include "EmfTextWidths.h"

#include <cmath>

namespace {

// Codes 32..126.
constexpr int16_t RegularAscii[95] = {
    278, 278, 355, 556, 556, 889, 667,  191, 333, 333, 389, 584, 278, 333, 278, 278, // space ... slash
    556, 556, 556, 556, 556, 556, 556,  556, 556, 556,                               // digits
    278, 278, 584, 584, 584, 556, 1015,                                              // : ; < = > ? @
    667, 667, 722, 722, 667, 611, 778,  722, 278, 500, 667, 556, 833,                // A ... M
    722, 778, 667, 778, 722, 667, 611,  722, 667, 944, 667, 667, 611,                // N ... Z
    278, 278, 278, 469, 556, 333,                                                    // [ \ ] ^ _ `
    556, 556, 500, 556, 556, 278, 556,  556, 222, 222, 500, 222, 833,                // a ... m
    556, 556, 556, 556, 333, 500, 278,  556, 500, 722, 500, 500, 500,                // n ... z
    334, 260, 334, 584};                                                             // { | } ~
constexpr int16_t BoldAscii[95] = {278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278,
                                   333, 278, 278,                                                   //
                                   556, 556, 556, 556, 556, 556, 556, 556, 556, 556,                //
                                   333, 333, 584, 584, 584, 611, 975,                               //
                                   722, 722, 722, 722, 667, 611, 778, 722, 278, 556, 722, 611, 833, //
                                   722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667, 667, 611, //
                                   333, 278, 333, 584, 556, 333,                                    //
                                   556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556, 278, 889, //
                                   611, 611, 611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, //
                                   389, 280, 389, 584};

// Letters outside ASCII that reports use, with the ASCII letter of the same width.
constexpr char16_t BaseLetters[][2] = {
    {u'ą', u'a'}, {u'ć', u'c'}, {u'ę', u'e'}, {u'ł', u'l'}, {u'ń', u'n'},     {u'ó', u'o'}, {u'ś', u's'},
    {u'ź', u'z'}, {u'ż', u'z'}, {u'Ą', u'A'}, {u'Ć', u'C'}, {u'Ę', u'E'},     {u'Ł', u'L'}, {u'Ń', u'N'},
    {u'Ó', u'O'}, {u'Ś', u'S'}, {u'Ź', u'Z'}, {u'Ż', u'Z'}, {u'\u00A0', u' '}};

char16_t BaseLetter(char16_t ch) {
  for (const auto& pair : BaseLetters)
    if (pair[0] == ch) return pair[1];
  return ch;
}

} // namespace

int32_t SansCharWidth(char16_t ch, bool bold) {
  ch = BaseLetter(ch);
  if (ch >= 32 && ch <= 126) return (bold ? BoldAscii : RegularAscii)[ch - 32];
  switch (ch) {
  case u'\u2013':
    return 556; // en dash
  case u'\u2014':
    return 1000; // em dash
  case u'\u00B0':
    return 400; // degree
  case u'\u00D7':
    return 584; // multiplication sign
  default:
    return 556;
  }
}

std::vector<int32_t> SansAdvances(std::u16string_view text, int32_t emHeight, bool bold) {
  std::vector<int32_t> advances;
  advances.reserve(text.size());
  int64_t total = 0;  // thousandths of the em, exact
  int64_t placed = 0; // logical units handed out so far
  for (char16_t ch : text) {
    total += SansCharWidth(ch, bold);
    int64_t end = std::llround(static_cast<double>(total) * emHeight / 1000.0);
    advances.push_back(static_cast<int32_t>(end - placed));
    placed = end;
  }
  return advances;
}
