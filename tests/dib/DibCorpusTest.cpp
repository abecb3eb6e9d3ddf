// Every bitmap in the shared metafile corpus decodes and stretches, and every bitmap in its damaged files
// either decodes or raises EDamagedData.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/dib/DibStretch.h"
#include "platform/metafile/EmfRecordViews.h"
#include "platform/rtl/Stream.h"

namespace {

namespace fs = std::filesystem;

// The bitmap of a bitmap record, read by the record views; false for the other records.
bool BitmapOf(ByteView record, emf::DibRef& out) {
  using namespace emf;
  switch (record.U32(0)) {
  case EMR_BITBLT:
  case EMR_STRETCHBLT:
  case EMR_ALPHABLEND:
  case EMR_TRANSPARENTBLT:
    out = BltView(record).Source();
    return true;
  case EMR_SETDIBITSTODEVICE:
    out = SetDIBitsToDeviceView(record).Source();
    return true;
  case EMR_STRETCHDIBITS:
    out = StretchDIBitsView(record).Source();
    return true;
  case EMR_CREATEDIBPATTERNBRUSHPT:
    out = PatternBrushView(record).Pattern();
    return true;
  default:
    return false;
  }
}

struct TTally {
  int Decoded = 0, Unsupported = 0, Damaged = 0;
  std::string FirstDamage;
};

void DecodeBitmap(ByteView record, TTally& tally) {
  try {
    emf::DibRef dib;
    if (!BitmapOf(record, dib) || !dib.Present()) return;
    ByteView bmi = dib.BitmapInfo();
    ByteView bits = dib.Bits();
    TDibInfo info = ParseBitmapInfo(bmi, dib.Usage());
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
    if (size < 8 || !emf.Has(offset, size) || type == emf::EMR_EOF) break;
    DecodeBitmap(emf.Sub(offset, size), tally);
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
