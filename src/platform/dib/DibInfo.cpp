#include "platform/dib/DibInfo.h"

#include <bit>

using namespace dib;

namespace {

constexpr uint32_t OpaqueBlack = 0xFF000000u;

std::string Hex(uint32_t value) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = 28; shift >= 0; shift -= 4)
    text += digits[(value >> shift) & 0xF];
  return text;
}

bool IsKnownHeaderSize(uint32_t size) {
  return size == DIB_CORE_HEADER_SIZE || size == DIB_INFO_HEADER_SIZE || size == 52 || size == 56 ||
         size == 108 || size == 124;
}

void CheckCompression(uint32_t compression, uint16_t bitCount) {
  bool valid = false;
  switch (compression) {
  case BI_RGB:
    valid =
        bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
    break;
  case BI_RLE8:
    valid = bitCount == 8;
    break;
  case BI_RLE4:
    valid = bitCount == 4;
    break;
  case BI_BITFIELDS:
  case BI_ALPHABITFIELDS:
    valid = bitCount == 16 || bitCount == 32;
    break;
  case BI_JPEG:
    throw EUnsupportedBitmap("Bitmaps holding JPEG data are not supported");
  case BI_PNG:
    throw EUnsupportedBitmap("Bitmaps holding PNG data are not supported");
  default:
    throw EUnsupportedBitmap("Bitmap compression " + std::to_string(compression) + " is not supported");
  }
  if (!valid)
    throw EDamagedData("Bitmap bit count " + std::to_string(bitCount) + " is not valid for compression " +
                       std::to_string(compression));
}

void CheckMask(uint32_t mask) {
  if (mask == 0) return;
  uint32_t shifted = mask >> std::countr_zero(mask);
  if ((shifted & (shifted + 1)) != 0)
    throw EDamagedData("Bitmap colour mask " + Hex(mask) + " is not contiguous");
}

void SetMasks(TDibInfo& info, ByteView bmi) {
  bool fields = info.Compression == BI_BITFIELDS || info.Compression == BI_ALPHABITFIELDS;
  if (!fields) {
    if (info.BitCount == 16) {
      info.RedMask = 0x7C00, info.GreenMask = 0x03E0, info.BlueMask = 0x001F;
    } else if (info.BitCount == 32) {
      info.RedMask = 0x00FF0000, info.GreenMask = 0x0000FF00, info.BlueMask = 0x000000FF;
    }
    return;
  }
  // Offset 40 either way: right after a plain info header, or inside the longer headers.
  const size_t at = DIB_INFO_HEADER_SIZE;
  info.RedMask = bmi.U32(at);
  info.GreenMask = bmi.U32(at + 4);
  info.BlueMask = bmi.U32(at + 8);
  bool hasAlphaMask = info.Compression == BI_ALPHABITFIELDS || info.HeaderSize >= 56;
  if (hasAlphaMask) info.AlphaMask = bmi.U32(at + 12);
  for (uint32_t mask : {info.RedMask, info.GreenMask, info.BlueMask, info.AlphaMask})
    CheckMask(mask);
}

size_t ColourTableOffset(const TDibInfo& info) {
  if (info.HeaderSize != DIB_INFO_HEADER_SIZE) return info.HeaderSize;
  if (info.Compression == BI_BITFIELDS) return DIB_INFO_HEADER_SIZE + 12;
  if (info.Compression == BI_ALPHABITFIELDS) return DIB_INFO_HEADER_SIZE + 16;
  return DIB_INFO_HEADER_SIZE;
}

// Writers store shorter colour tables than the header claims (an 8-bit bitmap with 100 colours and a count
// of 0); the record's own length bounds the table, and the entries it lacks stay black.
uint32_t Available(ByteView bmi, size_t offset, size_t entrySize, uint32_t claimed) {
  size_t present = offset <= bmi.size() ? (bmi.size() - offset) / entrySize : 0;
  return present < claimed ? static_cast<uint32_t>(present) : claimed;
}

void ReadPalette(TDibInfo& info, ByteView bmi, uint32_t clrUsed, uint32_t usage,
                 const std::vector<uint32_t>* logicalPalette) {
  uint32_t full = 1u << info.BitCount;
  uint32_t count = clrUsed == 0 || clrUsed > full ? full : clrUsed;
  size_t offset = ColourTableOffset(info);
  info.Palette.assign(full, OpaqueBlack);
  if (usage == DIB_PAL_COLORS) {
    bool own = logicalPalette != nullptr && !logicalPalette->empty();
    const std::vector<uint32_t>& colours = own ? *logicalPalette : DefaultPaletteColours();
    count = Available(bmi, offset, 2, count);
    for (uint32_t i = 0; i < count; ++i) {
      uint16_t index = bmi.U16(offset + i * 2);
      if (index < colours.size()) info.Palette[i] = colours[index] | OpaqueBlack;
    }
    return;
  }
  size_t entrySize = info.HeaderSize == DIB_CORE_HEADER_SIZE ? 3 : 4;
  count = Available(bmi, offset, entrySize, count);
  for (uint32_t i = 0; i < count; ++i) {
    size_t at = offset + i * entrySize;
    info.Palette[i] =
        OpaqueBlack | uint32_t{bmi.U8(at + 2)} << 16 | uint32_t{bmi.U8(at + 1)} << 8 | bmi.U8(at);
  }
}

} // namespace

const std::vector<uint32_t>& DefaultPaletteColours() {
  static const std::vector<uint32_t> colours = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080,
                                                0xFF800080, 0xFF008080, 0xFFC0C0C0, 0xFFC0DCC0, 0xFFA6CAF0,
                                                0xFFFFFBF0, 0xFFA0A0A4, 0xFF808080, 0xFFFF0000, 0xFF00FF00,
                                                0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
  return colours;
}

TDibInfo ParseBitmapInfo(ByteView bmi, uint32_t usage, const std::vector<uint32_t>* logicalPalette) {
  TDibInfo info;
  info.HeaderSize = bmi.U32(0);
  if (!IsKnownHeaderSize(info.HeaderSize))
    throw EDamagedData("Bitmap header size " + std::to_string(info.HeaderSize) + " is not valid");
  bmi.Check(0, info.HeaderSize);

  int64_t width, height;
  uint32_t clrUsed = 0;
  if (info.HeaderSize == DIB_CORE_HEADER_SIZE) {
    width = bmi.U16(4);
    height = bmi.U16(6);
    info.BitCount = bmi.U16(10);
    if (info.BitCount == 16 || info.BitCount == 32)
      throw EDamagedData("Bitmap bit count " + std::to_string(info.BitCount) +
                         " is not valid for a core header");
  } else {
    width = bmi.I32(4);
    height = bmi.I32(8);
    info.BitCount = bmi.U16(14);
    info.Compression = bmi.U32(16);
    info.SizeImage = bmi.U32(20);
    clrUsed = bmi.U32(32);
  }
  CheckCompression(info.Compression, info.BitCount);
  info.TopDown = height < 0;
  if (info.TopDown) height = -height;
  if (width <= 0 || height <= 0)
    throw EDamagedData("Bitmap size " + std::to_string(width) + " x " +
                       std::to_string(info.TopDown ? -height : height) + " is not valid");
  if (width * height > DIB_MAX_PIXELS)
    throw EDamagedData("Bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                       " pixels is too large to decode");
  if (info.TopDown && (info.Compression == BI_RLE8 || info.Compression == BI_RLE4))
    throw EDamagedData("A compressed bitmap cannot be stored top-down");
  info.Width = static_cast<int32_t>(width);
  info.Height = static_cast<int32_t>(height);

  SetMasks(info, bmi);
  if (info.IsIndexed()) ReadPalette(info, bmi, clrUsed, usage, logicalPalette);
  return info;
}
