#include "pdf/PdfDate.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

struct TDateParts {
  int Year, Month, Day, Hour, Minute, Second;
};

using namespace std::chrono;

// Day 0 of TDateTime is 1899-12-30.
const sys_days DateEpoch = sys_days(year(1899) / December / 30);

TDateParts Decode(TDateTime Value) {
  // Whole seconds, rounded, so that 23:59:59.9995 does not print as 23:59:59 of the wrong day.
  int64_t seconds = std::llround(Value * 86400.0);
  int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
  int64_t inDay = seconds - days * 86400;
  year_month_day ymd(DateEpoch + std::chrono::days(days));
  return {static_cast<int>(ymd.year()),
          static_cast<int>(static_cast<unsigned>(ymd.month())),
          static_cast<int>(static_cast<unsigned>(ymd.day())),
          static_cast<int>(inDay / 3600),
          static_cast<int>(inDay / 60 % 60),
          static_cast<int>(inDay % 60)};
}

bool AllDigits(const std::string& Text, size_t From, size_t Count) {
  for (size_t i = From; i < From + Count; ++i)
    if (Text[i] < '0' || Text[i] > '9') return false;
  return true;
}

int Number(const std::string& Text, size_t From, size_t Count) {
  return std::stoi(Text.substr(From, Count));
}

// Year, month, day, hour, minute and second through a printf pattern.
std::string Format(TDateTime Value, const char* Pattern) {
  TDateParts d = Decode(Value);
  char text[64];
  std::snprintf(text, sizeof(text), Pattern, d.Year, d.Month, d.Day, d.Hour, d.Minute, d.Second);
  return text;
}

} // namespace

TDateTime EncodePdfDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second) {
  sys_days date =
      sys_days(year(Year) / month(static_cast<unsigned>(Month)) / day(static_cast<unsigned>(Day)));
  return static_cast<double>((date - DateEpoch).count()) + (Hour * 3600 + Minute * 60 + Second) / 86400.0;
}

TDateTime PdfNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return EncodePdfDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                           local.tm_sec);
}

std::string PdfDateToString(TDateTime Value) {
  return Format(Value, "D:%04d%02d%02d%02d%02d%02d");
}

TDateTime PdfStringToDate(const std::string& Text) {
  if (Text.size() != 16 || Text.compare(0, 2, "D:") != 0 || !AllDigits(Text, 2, 14)) return 0;
  int y = Number(Text, 2, 4), mo = Number(Text, 6, 2), d = Number(Text, 8, 2);
  int h = Number(Text, 10, 2), mi = Number(Text, 12, 2), s = Number(Text, 14, 2);
  if (h >= 24 || mi >= 60 || s >= 60) return 0;
  if (!year_month_day(year(y) / month(static_cast<unsigned>(mo)) / day(static_cast<unsigned>(d))).ok())
    return 0;
  return EncodePdfDateTime(y, mo, d, h, mi, s);
}

std::string PdfDateToIso8601(TDateTime Value) {
  return Format(Value, "%04d-%02d-%02dT%02d:%02d:%02d");
}
