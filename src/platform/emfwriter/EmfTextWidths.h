#pragma once
// Built-in advance widths for text written without caller-supplied advances.
//
// The table holds the widths of the usual metric-compatible sans-serif face ("Arial" and its
// metric-compatible substitutes) in thousandths of the em, regular and bold; italic uses the regular widths.
// Polish letters take the width of their base letter, which is what the face gives them; characters outside
// the table get the width of a digit. Advances are rounded cumulatively, so a line of text drifts by less
// than one logical unit from the exact width whatever its length.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/Utf8.h" // the writer takes its text as UTF-8

// Vertical metrics of that face, in thousandths of the em.
constexpr int32_t SANS_ASCENT = 905;
constexpr int32_t SANS_DESCENT = 212;

// Width of one character in thousandths of the em.
int32_t SansCharWidth(char16_t ch, bool bold);
// Advances in logical units for text at the given em height (logical units).
std::vector<int32_t> SansAdvances(std::u16string_view text, int32_t emHeight, bool bold);
