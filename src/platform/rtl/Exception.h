#pragma once
// The host's exception classes and their fixed texts. Every failure in the system is one of these (or a
// class derived from Exception elsewhere); the message is what a user sees in an error box or on stderr.
#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

class EStreamError : public Exception {
  using Exception::Exception;
};
// "Stream read error": a read that had to deliver a count of bytes got fewer.
class EReadError : public EStreamError {
 public:
  EReadError() : EStreamError("Stream read error") {}
  using EStreamError::EStreamError;
};
// "Stream write error": a write that had to store a count of bytes stored fewer.
class EWriteError : public EStreamError {
 public:
  EWriteError() : EStreamError("Stream write error") {}
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
 public:
  // "Cannot open file "%s". %s", the second insert being the system's error text.
  EFOpenError(const std::string& fileName, const std::string& reason);
};
class EFCreateError : public EStreamError {
 public:
  // "Cannot create file "%s". %s", the second insert being the system's error text.
  EFCreateError(const std::string& fileName, const std::string& reason);
};
// Raised when bytes cannot be a metafile: "Metafile is not valid".
class EInvalidGraphic : public Exception {
 public:
  EInvalidGraphic() : Exception("Metafile is not valid") {}
  using Exception::Exception;
};
// Damaged untrusted data found by a bounds-checked view or a structural check.
class EDamagedData : public Exception {
  using Exception::Exception;
};

// The system's text for an errno value (strerror, thread-safe).
std::string SysErrorMessage(int errorCode);
