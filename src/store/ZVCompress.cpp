#include "ZVCompress.h"

#include <algorithm>

#include "platform/rtl/Exception.h"

namespace {
constexpr uint8_t BitMask[8] = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
constexpr size_t BlockSize = 8192;
constexpr int MaxDepth = 256;
} // namespace

TZVCompress::TZVCompress(TStream& aStream, bool CompressData)
    : BitPos(CompressData ? 0 : 7), CompressFlag(CompressData), Stream(aStream) {
  InitTree();
  if (CompressData) FBuffer.reserve(BlockSize);
}

TZVCompress::~TZVCompress() {
  try {
    Flush();
  } catch (...) {
    // A destructor must not throw; callers that need the error call Flush themselves.
  }
}

void TZVCompress::InitTree() {
  for (int n = 1; n < Nodes; ++n)
    Up[n] = static_cast<UpIndex>((n - 1) / 2);
  for (int i = 0; i < 2 * Inner; ++i)
    Child[i] = static_cast<DownIndex>(i + 1); // left 2i + 1, right 2i + 2
}

void TZVCompress::Compress(CodeType Plain) {
  if (Plain > 256) throw Exception("Page code: symbol " + std::to_string(Plain) + " is out of range");
  CompressOne(Plain);
}

void TZVCompress::CompressBlock(const uint8_t* Plain, size_t Count) {
  for (size_t i = 0; i < Count; ++i)
    CompressOne(Plain[i]);
}

void TZVCompress::Expand(uint8_t& Expanded) {
  Expanded = static_cast<uint8_t>(ExpandOne());
}

void TZVCompress::ExpandBlock(uint8_t* Expanded, size_t Count) {
  for (size_t i = 0; i < Count; ++i)
    Expanded[i] = static_cast<uint8_t>(ExpandOne());
}

inline void TZVCompress::CompressOne(CodeType Plain) {
  // Walking up from the leaf meets the code bits from the last to the first; shifting each one in at
  // the bottom leaves the first bit lowest, which is the order they are packed in.
  uint64_t code = 0;
  int depth = 0;
  unsigned node = Inner + Plain;
  while (node != 0 && depth < 56) {
    const unsigned parent = Up[node];
    code = code << 1 | (Child[2 * parent + 1] == node);
    ++depth;
    node = parent;
  }
  if (node != 0) {
    CompressDeep(Plain);
    return;
  }
  uint64_t bits = OutByte | code << BitPos;
  int count = BitPos + depth;
  for (; count >= 8; count -= 8, bits >>= 8)
    WriteCodeByte(static_cast<uint8_t>(bits));
  OutByte = static_cast<CodeType>(bits);
  BitPos = static_cast<uint8_t>(count);
  Splay(Plain);
}

// Codes longer than the fast path holds (only after long runs of skewed data), one bit at a time.
void TZVCompress::CompressDeep(CodeType Plain) {
  bool right[MaxDepth + 1];
  int depth = 0;
  for (unsigned node = Inner + Plain; node != 0; node = Up[node])
    right[depth++] = Child[2 * Up[node] + 1] == node;
  while (depth > 0) {
    if (right[--depth]) OutByte |= BitMask[BitPos];
    if (BitPos == 7) {
      WriteCodeByte(static_cast<uint8_t>(OutByte));
      BitPos = 0;
      OutByte = 0;
    } else {
      ++BitPos;
    }
  }
  Splay(Plain);
}

inline TZVCompress::CodeType TZVCompress::ExpandOne() {
  unsigned node = 0;
  while (node < Inner) {
    if (BitPos == 7) {
      InByte = ReadCodeByte();
      BitPos = 0;
    } else {
      ++BitPos;
    }
    node = Child[2 * node + ((InByte >> BitPos) & 1)];
  }
  const CodeType symbol = static_cast<CodeType>(node - Inner);
  Splay(symbol);
  return symbol; // the leaf of 256 comes out as byte 0
}

inline void TZVCompress::Splay(CodeType Plain) {
  // Semi-splaying: a trades places with its parent's sibling, then the walk goes on two levels up.
  unsigned a = Inner + Plain;
  do {
    const unsigned c = Up[a];
    if (c == 0) break; // a child of the root stays where it is
    const unsigned d = Up[c];
    const unsigned cSide = Child[2 * d] == c ? 0 : 1;
    const unsigned b = Child[2 * d + 1 - cSide]; // c's sibling
    Child[2 * d + 1 - cSide] = static_cast<DownIndex>(a);
    Child[2 * c + (Child[2 * c] == a ? 0 : 1)] = static_cast<DownIndex>(b);
    Up[a] = static_cast<UpIndex>(d);
    Up[b] = static_cast<UpIndex>(c);
    a = d;
  } while (a != 0);
}

inline void TZVCompress::WriteCodeByte(uint8_t Value) {
  FBuffer.push_back(Value);
  if (FBuffer.size() >= BlockSize) WriteOut();
}

void TZVCompress::WriteOut() {
  if (FBuffer.empty()) return;
  Stream.WriteBuffer(FBuffer.data(), static_cast<int32_t>(FBuffer.size()));
  FBuffer.clear();
}

inline uint8_t TZVCompress::ReadCodeByte() {
  if (FBufferPos == FBuffer.size()) Refill();
  ++FConsumed;
  return FBuffer[FBufferPos++];
}

void TZVCompress::Refill() {
  const int32_t want = static_cast<int32_t>(std::min<int64_t>(FInputLeft, BlockSize));
  FBuffer.resize(BlockSize);
  const int32_t got = want > 0 ? Stream.Read(FBuffer.data(), want) : 0;
  FBuffer.resize(static_cast<size_t>(std::max(got, 0)));
  FBufferPos = 0;
  if (FBuffer.empty()) throw EReadError(); // the code bytes end before the page does
  FInputLeft -= got;
}

void TZVCompress::Flush() {
  if (CompressFlag) {
    if (BitPos != 0) {
      FBuffer.push_back(static_cast<uint8_t>(OutByte));
      BitPos = 0;
      OutByte = 0;
    }
    WriteOut();
  } else if (FBufferPos < FBuffer.size()) {
    const int64_t unread = static_cast<int64_t>(FBuffer.size() - FBufferPos);
    Stream.Seek(-unread, soCurrent);
    FInputLeft += unread;
    FBuffer.resize(FBufferPos);
  }
}
