#pragma once
// Test fixtures: EMF+ records (as a metafile carries them in GDI comments) built field by field.
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/emfwriter/EmfWriter.h"
#include "platform/metafile/EmfPlusRecords.h"

// EMF+ records collected into one comment's data.
class TEmfPlusComment {
 public:
  TEmfPlusComment() { Bytes = {'E', 'M', 'F', '+'}; }

  TEmfPlusComment& Record(uint16_t type, uint16_t flags, const std::vector<uint8_t>& data) {
    Put16(type);
    Put16(flags);
    Put32(static_cast<uint32_t>(12 + (data.size() + 3) / 4 * 4));
    Put32(static_cast<uint32_t>(data.size()));
    Bytes.insert(Bytes.end(), data.begin(), data.end());
    Bytes.resize((Bytes.size() + 3) / 4 * 4);
    return *this;
  }
  TEmfPlusComment& Header(uint32_t dpi = 96) {
    return Record(emfplus::Header, 0, Data().U(0xDBC01002).U(0).U(dpi).U(dpi));
  }
  TEmfPlusComment& Font(uint8_t id, float em, uint32_t unit, std::u16string_view family, uint32_t style = 0) {
    TData d;
    d.U(0xDBC01002).F(em).U(unit).U(style).U(0).U(static_cast<uint32_t>(family.size())).Text(family);
    return Record(emfplus::Object, static_cast<uint16_t>(emfplus::ObjectFont << 8 | id), d);
  }
  TEmfPlusComment& Format(uint8_t id, uint32_t flags, uint32_t align, uint32_t lineAlign) {
    TData d;
    d.U(0xDBC01002).U(flags).U(0).U(align).U(lineAlign);
    for (int i = 0; i < 11; ++i)
      d.U(0);
    return Record(emfplus::Object, static_cast<uint16_t>(emfplus::ObjectStringFormat << 8 | id), d);
  }
  TEmfPlusComment& String(uint8_t font, std::u16string_view text, float x, float y, float w = 0, float h = 0,
                          uint32_t format = 0xFFFFFFFF) {
    TData d;
    d.U(0xFF000000).U(format).U(static_cast<uint32_t>(text.size())).F(x).F(y).F(w).F(h).Text(text);
    return Record(emfplus::DrawString, static_cast<uint16_t>(emfplus::FlagColorBrush | font), d);
  }
  TEmfPlusComment& Driver(uint8_t font, std::u16string_view text,
                          const std::vector<std::pair<float, float>>& at) {
    TData d;
    d.U(0xFF000000).U(emfplus::DriverCmapLookup).U(0).U(static_cast<uint32_t>(text.size())).Text(text);
    for (auto [x, y] : at)
      d.F(x).F(y);
    return Record(emfplus::DrawDriverString, static_cast<uint16_t>(emfplus::FlagColorBrush | font), d);
  }
  // A rectangle filled with a colour.
  TEmfPlusComment& FillRect(uint32_t argb, float x, float y, float w, float h) {
    return Record(emfplus::FillRects, emfplus::FlagColorBrush, Data().U(argb).U(1).F(x).F(y).F(w).F(h));
  }
  // A pen of a solid colour, `width` world units wide.
  TEmfPlusComment& Pen(uint8_t id, float width, uint32_t argb) {
    TData d;
    d.U(0xDBC01002).U(0).U(0).U(emfplus::UnitWorld).F(width).U(0xDBC01002).U(0).U(argb);
    return Record(emfplus::Object, static_cast<uint16_t>(emfplus::ObjectPen << 8 | id), d);
  }
  TEmfPlusComment& Lines(uint8_t pen, const std::vector<std::pair<float, float>>& points) {
    TData d;
    d.U(static_cast<uint32_t>(points.size()));
    for (auto [x, y] : points)
      d.F(x).F(y);
    return Record(emfplus::DrawLines, pen, d);
  }
  TEmfPlusComment& Translate(float dx, float dy) {
    return Record(emfplus::TranslateWorldTransform, emfplus::FlagAppend, Data().F(dx).F(dy));
  }
  TEmfPlusComment& Rotate(float degrees) {
    return Record(emfplus::RotateWorldTransform, emfplus::FlagAppend, Data().F(degrees));
  }
  TEmfPlusComment& Save(uint32_t index) { return Record(emfplus::Save, 0, Data().U(index)); }
  TEmfPlusComment& Restore(uint32_t index) { return Record(emfplus::Restore, 0, Data().U(index)); }
  TEmfPlusComment& PageUnit(uint32_t unit, float scale) {
    return Record(emfplus::SetPageTransform, static_cast<uint16_t>(unit), Data().F(scale));
  }

  void Into(TEmfWriter& w) const { w.Comment(Bytes); }

  struct TData : std::vector<uint8_t> {
    TData& U(uint32_t v) { return Put(&v, 4); }
    TData& F(float v) { return Put(&v, 4); }
    TData& Text(std::u16string_view s) { return Put(s.data(), s.size() * 2); }
    TData& Put(const void* p, size_t n) {
      insert(end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
      return *this;
    }
  };
  static TData Data() { return {}; }
  std::vector<uint8_t> Bytes;

 private:
  void Put16(uint16_t v) { Bytes.insert(Bytes.end(), {uint8_t(v), uint8_t(v >> 8)}); }
  void Put32(uint32_t v) {
    Bytes.insert(Bytes.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  }
};
