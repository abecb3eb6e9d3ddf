#pragma once
// Date strings of the information dictionary: "D:" and the local date and time as YYYYMMDDHHmmSS,
// 16 characters, no time zone.
#include <string>

#include "pdf/PdfTypes.h"

TDateTime PdfNow();
TDateTime EncodePdfDateTime(int Year, int Month, int Day, int Hour, int Minute, int Second);
std::string PdfDateToString(TDateTime Value);
// 0 unless Text is exactly 16 characters of a valid date with hour < 24, minute and second < 60.
TDateTime PdfStringToDate(const std::string& Text);
// "YYYY-MM-DDThh:mm:ss".
std::string PdfDateToIso8601(TDateTime Value);
