#include "Exception.h"

#include <cstring>

EFOpenError::EFOpenError(const std::string& fileName, const std::string& reason)
    : EStreamError("Cannot open file \"" + fileName + "\". " + reason) {}

EFCreateError::EFCreateError(const std::string& fileName, const std::string& reason)
    : EStreamError("Cannot create file \"" + fileName + "\". " + reason) {}

std::string SysErrorMessage(int errorCode) {
  char buffer[256];
  // GNU strerror_r may return a static string instead of filling the buffer.
  const char* text = strerror_r(errorCode, buffer, sizeof buffer);
  return text ? std::string(text) : std::string("Unknown error ") + std::to_string(errorCode);
}
