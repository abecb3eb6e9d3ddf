// The engine's MD5 routine against the test suite of RFC 1321, whole and fed in pieces.
#include <gtest/gtest.h>

#include <string>

#include "pdf/PdfMd5.h"

namespace {

struct TMd5Case {
  std::string Input;
  std::string Digest;
};

const TMd5Case Rfc1321Suite[] = {
    {"", "d41d8cd98f00b204e9800998ecf8427e"},
    {"a", "0cc175b9c0f1b6a831c399e269772661"},
    {"abc", "900150983cd24fb0d6963f7d28e17f72"},
    {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
    {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
    {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
     "57edf4a22be3c955ac49da2e2107b67a"},
};

TEST(PdfMd5, Rfc1321TestSuite) {
  for (const auto& c : Rfc1321Suite)
    EXPECT_EQ(PdfMd5Hex(PdfMd5(c.Input)), c.Digest) << "\"" << c.Input << "\"";
}

// Pieces that straddle the 64-byte blocks and the padding boundary (55, 56, 64 bytes) give the same digest.
TEST(PdfMd5, PiecesGiveTheDigestOfTheWhole) {
  for (size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 1000u}) {
    std::string data;
    for (size_t i = 0; i < length; ++i)
      data += static_cast<char>(i * 7 + 3);
    for (size_t piece : {1u, 3u, 17u, 64u}) {
      TPdfMd5 md5;
      for (size_t at = 0; at < data.size(); at += piece)
        md5.Update(data.data() + at, std::min(piece, data.size() - at));
      EXPECT_EQ(md5.Finish(), PdfMd5(data)) << length << " bytes in pieces of " << piece;
    }
  }
  EXPECT_EQ(PdfMd5Hex(PdfMd5(std::string(1000000, 'a'))), "7707d6ae4e027c70eea2a935c2296f21");
}

} // namespace
