// Every bitmap in the shared metafile corpus decodes and stretches, and every bitmap in its damaged files
// either decodes or raises EDamagedData.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/dib/DibStretch.h"
#include "platform/rtl/Stream.h"

namespace {

namespace fs = std::filesystem;

// Where a bitmap record keeps usage, header offset and size, bits offset and size.
struct TBitmapFields {
  uint32_t Type;
  size_t Usage, OffBmi;
};
constexpr TBitmapFields BitmapRecords[] = {{76, 80, 84},  {77, 80, 84},  {80, 64, 48}, {81, 64, 48},
                                           {114, 80, 84}, {116, 80, 84}, {94, 12, 16}};

struct TTally {
  int Decoded = 0, Unsupported = 0, Damaged = 0;
  std::string FirstDamage;
};

void DecodeBitmap(ByteView record, const TBitmapFields& fields, TTally& tally) {
  try {
    uint32_t cbBmi = record.U32(fields.OffBmi + 4);
    if (cbBmi == 0) return;
    ByteView bmi = record.Sub(record.U32(fields.OffBmi), cbBmi);
    ByteView bits = record.Sub(record.U32(fields.OffBmi + 8), record.U32(fields.OffBmi + 12));
    TDibInfo info = ParseBitmapInfo(bmi, record.U32(fields.Usage));
    TRaster raster = DecodePixels(info, bits);
    TRaster dest(16, 16, 0xFFFFFFFF);
    StretchDibOnto(dest, 0, 0, 16, 16, info, raster, 0, 0, info.Width, info.Height, dib::SRCCOPY);
    ++tally.Decoded;
  } catch (const EUnsupportedBitmap&) {
    ++tally.Unsupported;
  } catch (const EDamagedData& e) {
    if (tally.Damaged++ == 0) tally.FirstDamage = e.what();
  }
}

TTally DecodeAllBitmaps(const fs::path& file) {
  std::vector<uint8_t> bytes = ReadFileBytes(file.string());
  ByteView emf(bytes.data(), bytes.size());
  TTally tally;
  size_t offset = 0;
  while (emf.Has(offset, 8)) {
    uint32_t type = emf.U32(offset), size = emf.U32(offset + 4);
    if (size < 8 || !emf.Has(offset, size) || type == 14) break;
    for (const TBitmapFields& fields : BitmapRecords)
      if (fields.Type == type) DecodeBitmap(emf.Sub(offset, size), fields, tally);
    offset += size;
  }
  return tally;
}

fs::path CorpusDir(const char* name) {
  return fs::path(ZVP_SHARED_DIR) / "corpus" / name;
}

TEST(DibCorpus, PublicMetafilesDecode) {
  if (!fs::is_directory(CorpusDir("emf"))) GTEST_SKIP() << "no shared corpus";
  int decoded = 0;
  for (const auto& entry : fs::directory_iterator(CorpusDir("emf"))) {
    TTally tally = DecodeAllBitmaps(entry.path());
    EXPECT_EQ(tally.Damaged, 0) << entry.path().filename() << ": " << tally.FirstDamage;
    decoded += tally.Decoded;
  }
  RecordProperty("decoded", decoded);
}

TEST(DibCorpus, DamagedMetafilesOnlyRaiseDamagedData) {
  if (!fs::is_directory(CorpusDir("corrupted"))) GTEST_SKIP() << "no shared corpus";
  for (const auto& entry : fs::directory_iterator(CorpusDir("corrupted")))
    EXPECT_NO_THROW(DecodeAllBitmaps(entry.path())) << entry.path().filename();
}

} // namespace
