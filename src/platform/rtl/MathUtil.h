#pragma once
// Integer helpers with the host's rounding rules.
#include <cmath>
#include <cstdint>

// a * b / c computed in 64 bits, rounded half away from zero. Returns -1 when c is 0 or the result does
// not fit 32 bits, as the host's MulDiv does.
inline int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t product = static_cast<int64_t>(a) * b;
  bool negative = (product < 0) != (c < 0);
  uint64_t num = product < 0 ? static_cast<uint64_t>(-product) : static_cast<uint64_t>(product);
  uint64_t den = c < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
  uint64_t quotient = (num + den / 2) / den;
  if (quotient > (negative ? 2147483648ull : 2147483647ull)) return -1;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(quotient)) : static_cast<int32_t>(quotient);
}

// Round to the nearest integer, ties to even (the host's Round).
inline int64_t RoundEven(double value) {
  return static_cast<int64_t>(std::nearbyint(value));
}
inline int64_t RoundEven(long double value) {
  return static_cast<int64_t>(std::nearbyintl(value));
}
