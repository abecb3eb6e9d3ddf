#pragma once
// The engine's MD5 message digest (RFC 1321). It fingerprints image pixels so that equal bitmaps become
// one image object; it is not used for anything that needs to resist an attacker.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using TPdfMd5Digest = std::array<uint8_t, 16>;

class TPdfMd5 {
 public:
  TPdfMd5();
  // Feeds Size bytes; may be called any number of times before Finish.
  void Update(const void* Data, size_t Size);
  void Update(std::string_view Text) { Update(Text.data(), Text.size()); }
  // Pads, appends the bit length and returns the digest. The object must not be fed afterwards.
  TPdfMd5Digest Finish();

 private:
  void Transform(const uint8_t* Block);

  std::array<uint32_t, 4> FState;
  uint64_t FLength = 0; // bytes fed so far
  std::array<uint8_t, 64> FBuffer{};
};

// The digest of one byte string.
TPdfMd5Digest PdfMd5(std::string_view Data);
// 32 lowercase hexadecimal digits.
std::string PdfMd5Hex(const TPdfMd5Digest& Digest);
