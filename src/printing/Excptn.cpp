#include "Excptn.h"

#include <cstdio>
#include <cstring>

#include "platform/gdi/DeviceContext.h"

namespace {

// The system's text for a code, empty when the system does not know it.
std::string SystemText(uint32_t code) {
  if (code == GetLastError() && !GetLastErrorMessage().empty()) return GetLastErrorMessage();
  if (code > 0x7FFFFFFF) return {};
  char buffer[256];
  const char* text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
  if (!text || std::strncmp(text, "Unknown error", 13) == 0) return {};
  return text;
}

} // namespace

uint32_t ThreadLastError() {
  return GetLastError();
}

std::string LastErrorText(uint32_t code) {
  std::string text = SystemText(code).substr(0, 255);
  for (const char* insert : {"%1", "%2", "%3", "%4"})
    for (size_t at = text.find(insert); at != std::string::npos; at = text.find(insert, at + 2))
      text.replace(at, 2, "<>");
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
    text.pop_back();
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", code);
  return text + " (LE: $" + hex + ")";
}

void GDICheck(bool ok, const std::string& Msg) {
  if (!ok) throw EGDIError::CreateMLE(Msg);
}
