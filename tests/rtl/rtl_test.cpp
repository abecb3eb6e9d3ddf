#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "platform/rtl/ByteView.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/MathUtil.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/TempFile.h"

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  struct Case {
    int32_t a, b, c, expected;
  } cases[] = {{5, 1, 2, 3},      {-5, 1, 2, -3},
               {7, 3, 2, 11},     {1, 1, 3, 0},
               {2, 1, 3, 1},      {21000, 96, 2540, 794},
               {100, 100, 0, -1}, {2147483647, 2, 1, -1},
               {-4, 3, -2, 6},    {2147483647, 2, 2, 2147483647}};
  for (const auto& c : cases)
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(RoundEven, TiesGoToEven) {
  EXPECT_EQ(RoundEven(0.5), 0);
  EXPECT_EQ(RoundEven(1.5), 2);
  EXPECT_EQ(RoundEven(2.5), 2);
  EXPECT_EQ(RoundEven(-2.5), -2);
  EXPECT_EQ(RoundEven(2.6), 3);
}

TEST(MemoryStream, ReadWriteSeekAndShortReads) {
  TMemoryStream s;
  EXPECT_EQ(s.Write("abcdef", 6), 6);
  EXPECT_EQ(s.Position(), 6);
  s.SetPosition(2);
  char buf[8] = {};
  EXPECT_EQ(s.Read(buf, 8), 4);
  EXPECT_STREQ(buf, "cdef");
  EXPECT_EQ(s.Read(buf, 1), 0);
  s.SetPosition(4);
  EXPECT_THROW(s.ReadBuffer(buf, 3), EReadError);
  s.Seek(-1, soEnd);
  s.WriteBuffer("XY", 2);
  EXPECT_EQ(s.Size(), 7);
}

TEST(FileStream, OpenErrorsCarryTheSystemText) {
  try {
    TFileStream f("/nonexistent/zvp.zvp", fmOpenReadShared);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"/nonexistent/zvp.zvp\". No such file or directory");
  }
  try {
    TFileStream f("/nonexistent/out.zvp", fmCreate);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"/nonexistent/out.zvp\". No such file or directory");
  }
}

TEST(FileStream, RefusesToCreateAFileThatIsOpenForReading) {
  std::string name = TempFileName();
  WriteFileBytes(name, "report", 6);
  {
    TFileStream reader(name, fmOpenReadShared);
    EXPECT_THROW(TFileStream(name, fmCreate), EFCreateError);
    EXPECT_THROW(WriteFileBytes(name, "x", 1), EFCreateError);
    EXPECT_EQ(reader.Write("zz", 2), 0); // read-only stream writes nothing
  }
  EXPECT_EQ(ReadFileBytes(name).size(), 6u);
  { TFileStream writer(name, fmCreate); } // allowed once nobody reads it
  std::remove(name.c_str());
}

TEST(TempFile, IsCreatedEmptyWithThePrefix) {
  std::string a = TempFileName(), b = TempFileName();
  EXPECT_NE(a, b);
  auto base = std::filesystem::path(a).filename().string();
  EXPECT_EQ(base.rfind("ZVP", 0), 0u);
  EXPECT_EQ(std::filesystem::file_size(a), 0u);
  std::remove(a.c_str());
  std::remove(b.c_str());
}

TEST(ByteView, RefusesReadsOutsideTheView) {
  const uint8_t bytes[] = {1, 0, 0, 0, 0xFF};
  ByteView v(bytes, sizeof bytes);
  EXPECT_EQ(v.U32(0), 1u);
  EXPECT_EQ(v.U8(4), 0xFF);
  EXPECT_THROW(v.U32(2), EDamagedData);
  EXPECT_THROW(v.Sub(3, SIZE_MAX), EDamagedData);
  EXPECT_FALSE(v.Has(SIZE_MAX, 2));
  EXPECT_TRUE(v.Has(5, 0));
}
