#include "PageSource.h"

#include "platform/rtl/ByteView.h"
#include "platform/rtl/Stream.h"
#include "store/ZVPageList.h"

namespace {

// An EMF starts with its header record (type 1) carrying the " EMF" signature at offset 40.
bool StartsAsMetafile(const std::string& FileName) {
  TFileStream file(FileName, fmOpenReadShared);
  uint8_t head[44] = {};
  const int32_t got = file.Read(head, sizeof head);
  ByteView v(head, static_cast<size_t>(got));
  return v.Has(40, 4) && v.U32(0) == 1 && v.U32(40) == 0x464D4520;
}

} // namespace

TPageSource::TPageSource(const std::string& FileName) : FFileName(FileName) {
  if (StartsAsMetafile(FileName)) {
    FSingle = std::make_unique<TMetafile>();
    FSingle->LoadFromFile(FileName);
    return;
  }
  FList = std::make_unique<TZVPageList>();
  FList->LoadFromFile(FileName);
}

TPageSource::~TPageSource() = default;

int32_t TPageSource::PageCount() const {
  return FSingle ? 1 : FList->PageCount();
}

std::unique_ptr<TMetafile> TPageSource::GetPage(int32_t Page) const {
  if (Page < 1 || Page > PageCount())
    throw Exception("No page " + std::to_string(Page) + " (the " + (FSingle ? "metafile" : "report") +
                    " has " + std::to_string(PageCount()) + ")");
  if (FSingle) {
    auto copy = std::make_unique<TMetafile>();
    copy->LoadFromBytes(FSingle->Bytes());
    return copy;
  }
  auto metafile = FList->GetPage(Page);
  if (!metafile) throw EDamagedData("Page " + std::to_string(Page) + " cannot be read");
  return metafile;
}
