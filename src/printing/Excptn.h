#pragma once
// Exceptions that carry a host error code, and the text of such a code.
//
// LastErrorText(code): the system's message for the code (strerror; for the code that the graphics layer
// left as the thread's last error, the message it recorded), at most 255 characters, inserts %1..%4
// shown as "<>", trailing blanks and control characters removed, followed by " (LE: $" + the code in
// upper-case hexadecimal + ")". An unknown code has an empty text, leaving the code part alone.
#include <cstdint>
#include <string>

#include "platform/rtl/Exception.h"

std::string LastErrorText(uint32_t code);
// The calling thread's last error code (as the graphics layer leaves it).
uint32_t ThreadLastError();

class ERuntimeError : public Exception {
 public:
  // LastError 1.
  explicit ERuntimeError(const std::string& Msg) : Exception(Msg), FLastError(1) {}
  uint32_t LastError() const { return FLastError; }

  // Message LastErrorText(code), for the thread's last error or a given code.
  template <typename E = ERuntimeError> static E CreateLE() { return CreateLE<E>(ThreadLastError()); }
  template <typename E = ERuntimeError> static E CreateLE(uint32_t lastError) {
    return E(lastError, LastErrorText(lastError));
  }
  // Msg + ": " + LastErrorText(code); Msg alone when the thread's last error is 0.
  template <typename E = ERuntimeError> static E CreateMLE(const std::string& Msg) {
    const uint32_t code = ThreadLastError();
    return code ? CreateMLE<E>(code, Msg) : E(0, Msg);
  }
  // Msg + ": " + LastErrorText(lastError), also for 0.
  template <typename E = ERuntimeError> static E CreateMLE(uint32_t lastError, const std::string& Msg) {
    return E(lastError, Msg + ": " + LastErrorText(lastError));
  }

  ERuntimeError(uint32_t lastError, const std::string& Msg) : Exception(Msg), FLastError(lastError) {}

 private:
  uint32_t FLastError;
};

class EWinAPIError : public ERuntimeError {
 public:
  using ERuntimeError::ERuntimeError;
};

class EGDIError : public EWinAPIError {
 public:
  using EWinAPIError::EWinAPIError;
  // As ERuntimeError's CreateMLE("GDI").
  static EGDIError CreateLE() { return ERuntimeError::CreateMLE<EGDIError>("GDI"); }
  // As ERuntimeError's CreateMLE(Msg + " GDI").
  static EGDIError CreateMLE(const std::string& Msg) {
    return ERuntimeError::CreateMLE<EGDIError>(Msg + " GDI");
  }
};

// Raises EGDIError::CreateMLE(Msg) when ok is false.
void GDICheck(bool ok, const std::string& Msg);
