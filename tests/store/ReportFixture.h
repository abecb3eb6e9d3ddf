#pragma once
// Helpers for store tests: page fixtures, reports built in memory, and access to their bytes.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../metafile/MiniEmf.h"
#include "platform/metafile/Metafile.h"
#include "platform/rtl/Stream.h"
#include "store/ZVCompress.h"
#include "store/ZVPageList.h"
#include "store/ZVStream.h"

namespace fixture {

constexpr double FixedDate = 46000.5; // any date: reports written in tests are reproducible

// A page whose content depends on its number, so a page read back can be told from any other.
inline TMetafile Page(int32_t number, size_t payload = 0) {
  TMetafile m;
  m.LoadFromBytes(miniemf::Build(miniemf::PagePayload(payload ? payload : 40 + number * 37 % 500, number)));
  return m;
}

// The page code of plain, as one fresh encoder writes it.
inline std::vector<uint8_t> Encode(const std::vector<uint8_t>& plain) {
  TMemoryStream s;
  TZVCompress encoder(s, true);
  for (uint8_t b : plain)
    encoder.Compress(b);
  encoder.Flush();
  return s.Bytes();
}

inline int32_t I32(const std::vector<uint8_t>& b, size_t at) {
  int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

inline std::vector<uint8_t> StreamBytes(TZVStream& s) {
  TMemoryStream out;
  const int64_t pos = s.Position();
  s.SaveToStream(out);
  s.SetPosition(pos);
  return out.Bytes();
}

// A finished report of the given pages, as a page list holding it in memory.
inline std::unique_ptr<TZVPageList> Report(const std::vector<TMetafile>& pages, bool compression) {
  auto list = std::make_unique<TZVPageList>();
  list->SetFixedDate(FixedDate);
  list->SetStream(std::make_unique<TZVStream>(0x7FFFFFFF));
  list->SetCompression(compression);
  for (const auto& p : pages)
    list->AddPage(p);
  list->Finish();
  return list;
}

inline std::vector<TMetafile> Pages(int32_t count) {
  std::vector<TMetafile> pages;
  for (int32_t i = 1; i <= count; ++i)
    pages.push_back(Page(i));
  return pages;
}

inline std::vector<uint8_t> ReportBytes(int32_t count, bool compression) {
  return StreamBytes(*Report(Pages(count), compression)->Stream());
}

// Loads report bytes into a page list through an in-memory stream.
inline void Load(TZVPageList& list, const std::vector<uint8_t>& bytes) {
  auto s = std::make_unique<TZVStream>(0x7FFFFFFF);
  s->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  list.LoadFromStream(std::move(s));
}

// The start offsets of the records of a well-formed report, following the next-record fields.
inline std::vector<size_t> RecordStarts(const std::vector<uint8_t>& b, size_t header = 120) {
  std::vector<size_t> starts;
  for (size_t at = header; at < b.size(); at = static_cast<size_t>(I32(b, at + 4)))
    starts.push_back(at);
  return starts;
}

// A path in the test output folder, removed first.
inline std::string OutputPath(const std::string& name) {
  std::filesystem::path p = std::filesystem::path(ZVP_TEST_OUTPUT_DIR) / "store";
  std::filesystem::create_directories(p);
  p /= name;
  std::filesystem::remove(p);
  return p.string();
}

inline std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& p : parts)
    all.insert(all.end(), p.begin(), p.end());
  return all;
}

} // namespace fixture
