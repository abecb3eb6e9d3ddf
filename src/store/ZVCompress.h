#pragma once
// TZVCompress: the adaptive splay-tree code of page data. One object codes one direction of one page; the
// tree starts from the same fixed state in encoder and decoder and adapts after every symbol.
//
// Code bits are packed least significant bit first. The encoder collects code bytes in a small buffer and
// writes them to the stream in blocks; Flush writes the rest, including the last partial byte, and must be
// called before the code bytes are relied on (the destructor flushes too, but swallows errors). The
// decoder reads code bytes ahead in blocks, never past its input limit; Flush puts the stream position
// right after the last code byte it used. A decoder that needs a byte the input no longer has raises
// EReadError ("Stream read error") instead of inventing bits.
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/rtl/Stream.h"

class TZVCompress {
 public:
  using CodeType = uint16_t;  // a symbol 0..256; 256 has a leaf but is never coded
  using UpIndex = uint8_t;    // an inner node 0..255
  using DownIndex = uint16_t; // any node 0..512

  // The stream is not owned and must be positioned where code bytes go (encoder) or start (decoder).
  TZVCompress(TStream& aStream, bool CompressData);
  ~TZVCompress();
  TZVCompress(const TZVCompress&) = delete;
  TZVCompress& operator=(const TZVCompress&) = delete;

  // Appends the code of Plain (0..256) and adapts the tree.
  void Compress(CodeType Plain);
  // Decodes the next symbol and adapts the tree; a symbol 256 from damaged data comes out as 0.
  void Expand(uint8_t& Expanded);
  // The same for a block of bytes, without a call per byte.
  void CompressBlock(const uint8_t* Plain, size_t Count);
  void ExpandBlock(uint8_t* Expanded, size_t Count);
  // Encoder: writes the buffered code bytes and the last partial byte. Decoder: moves the stream back
  // over code bytes read ahead but not used. Safe to call more than once.
  void Flush();

  // Decoder: at most this many code bytes may be read from the stream (default: up to its end).
  void SetInputLimit(int64_t Limit) { FInputLeft = Limit; }
  // Decoder: the code bytes used so far.
  int64_t BytesConsumed() const { return FConsumed; }

 private:
  static constexpr int Inner = 256;
  static constexpr int Nodes = 513;

  void InitTree();
  void CompressOne(CodeType Plain);
  void CompressDeep(CodeType Plain);
  CodeType ExpandOne();
  void Splay(CodeType Plain);
  uint8_t ReadCodeByte();
  void Refill();
  void WriteCodeByte(uint8_t Value);
  void WriteOut();

  uint8_t BitPos = 0;
  bool CompressFlag = false;
  CodeType InByte = 0;
  // The children of inner node i: Child[2i] left (code bit 0), Child[2i + 1] right (code bit 1).
  std::array<DownIndex, 2 * Inner> Child{};
  CodeType OutByte = 0;
  TStream& Stream;
  std::array<UpIndex, Nodes> Up{};

  std::vector<uint8_t> FBuffer; // code bytes waiting to be written, or read ahead
  size_t FBufferPos = 0;        // decoder: next unread byte in FBuffer
  int64_t FInputLeft = std::numeric_limits<int64_t>::max();
  int64_t FConsumed = 0;
};
