#include "platform/fonts/FontSubset.h"

#include <hb-subset.h>
#include <hb.h>
#include <memory>

#include "platform/rtl/ByteView.h"
#include "platform/rtl/Exception.h"

namespace {

template <class T, void (*Destroy)(T*)> struct THbDeleter {
  void operator()(T* Object) const { Destroy(Object); }
};
using THbBlob = std::unique_ptr<hb_blob_t, THbDeleter<hb_blob_t, hb_blob_destroy>>;
using THbFace = std::unique_ptr<hb_face_t, THbDeleter<hb_face_t, hb_face_destroy>>;
using THbInput = std::unique_ptr<hb_subset_input_t, THbDeleter<hb_subset_input_t, hb_subset_input_destroy>>;

uint32_t BigEndian32(const ByteView& View, size_t Offset) {
  return uint32_t(View.U8(Offset)) << 24 | uint32_t(View.U8(Offset + 1)) << 16 |
         uint32_t(View.U8(Offset + 2)) << 8 | View.U8(Offset + 3);
}

constexpr uint32_t Tag(char a, char b, char c, char d) {
  return uint32_t(uint8_t(a)) << 24 | uint32_t(uint8_t(b)) << 16 | uint32_t(uint8_t(c)) << 8 | uint8_t(d);
}

} // namespace

bool IsTrueTypeOutlineFile(std::string_view FontFile, int FaceIndex) {
  ByteView view(reinterpret_cast<const uint8_t*>(FontFile.data()), FontFile.size());
  if (!view.Has(0, 4) || FaceIndex < 0) return false;
  size_t sfnt = 0;
  if (BigEndian32(view, 0) == Tag('t', 't', 'c', 'f')) {
    size_t entry = 12 + 4 * size_t(FaceIndex);
    if (!view.Has(8, 4) || size_t(FaceIndex) >= BigEndian32(view, 8) || !view.Has(entry, 4)) return false;
    sfnt = BigEndian32(view, entry);
    if (!view.Has(sfnt, 4)) return false;
  }
  uint32_t version = BigEndian32(view, sfnt);
  return version == 0x00010000 || version == Tag('t', 'r', 'u', 'e');
}

std::string SubsetFontKeepingGlyphIds(std::string_view FontFile, int FaceIndex,
                                      const std::vector<uint16_t>& Glyphs,
                                      const std::vector<char32_t>& Unicodes) {
  if (FontFile.size() > 0x7FFFFFFF || FaceIndex < 0) throw EDamagedData("Font file cannot be subset");
  THbBlob blob(hb_blob_create(FontFile.data(), static_cast<unsigned>(FontFile.size()),
                              HB_MEMORY_MODE_READONLY, nullptr, nullptr));
  THbFace face(hb_face_create(blob.get(), static_cast<unsigned>(FaceIndex)));
  if (hb_face_get_glyph_count(face.get()) == 0) throw EDamagedData("Font file has no glyphs to subset");
  THbInput input(hb_subset_input_create_or_fail());
  if (!input) throw EDamagedData("Font subsetting is out of memory");
  hb_set_t* glyphs = hb_subset_input_glyph_set(input.get());
  hb_set_add(glyphs, 0);
  for (uint16_t glyph : Glyphs)
    hb_set_add(glyphs, glyph);
  hb_set_t* unicodes = hb_subset_input_unicode_set(input.get());
  for (char32_t unicode : Unicodes)
    hb_set_add(unicodes, unicode);
  // Text in the document names glyphs by their index in the whole font.
  hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_RETAIN_GIDS);
  THbFace subset(hb_subset_or_fail(face.get(), input.get()));
  if (!subset) throw EDamagedData("Font file cannot be subset");
  THbBlob result(hb_face_reference_blob(subset.get()));
  unsigned length = 0;
  const char* data = hb_blob_get_data(result.get(), &length);
  if (!data || length == 0) throw EDamagedData("Font file cannot be subset");
  return std::string(data, length);
}
