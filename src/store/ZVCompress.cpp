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
  for (int i = 0; i < Inner; ++i) {
    Left[i] = static_cast<DownIndex>(2 * i + 1);
    Right[i] = static_cast<DownIndex>(2 * i + 2);
  }
}

void TZVCompress::Compress(CodeType Plain) {
  if (Plain > 256) throw Exception("Page code: symbol " + std::to_string(Plain) + " is out of range");
  // Walking up from the leaf gives the code backwards; a leaf is never deeper than MaxDepth.
  bool right[MaxDepth + 1];
  int depth = 0;
  unsigned node = Inner + Plain;
  while (node != 0) {
    unsigned parent = Up[node];
    right[depth++] = Right[parent] == node;
    node = parent;
  }
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

void TZVCompress::Expand(uint8_t& Expanded) {
  unsigned node = 0;
  while (node < Inner) {
    if (BitPos == 7) {
      InByte = ReadCodeByte();
      BitPos = 0;
    } else {
      ++BitPos;
    }
    node = (InByte & BitMask[BitPos]) ? Right[node] : Left[node];
  }
  CodeType symbol = static_cast<CodeType>(node - Inner);
  Splay(symbol);
  Expanded = static_cast<uint8_t>(symbol);
}

void TZVCompress::Splay(CodeType Plain) {
  unsigned a = Inner + Plain;
  do {
    unsigned c = Up[a];
    if (c == 0) {
      a = c;
      continue;
    }
    unsigned d = Up[c];
    unsigned b = Left[d];
    if (b == c) {
      b = Right[d];
      Right[d] = static_cast<DownIndex>(a);
    } else {
      Left[d] = static_cast<DownIndex>(a);
    }
    if (Left[c] == a)
      Left[c] = static_cast<DownIndex>(b);
    else
      Right[c] = static_cast<DownIndex>(b);
    Up[a] = static_cast<UpIndex>(d);
    Up[b] = static_cast<UpIndex>(c);
    a = d;
  } while (a != 0);
}

void TZVCompress::WriteCodeByte(uint8_t Value) {
  FBuffer.push_back(Value);
  if (FBuffer.size() >= BlockSize) WriteOut();
}

void TZVCompress::WriteOut() {
  if (FBuffer.empty()) return;
  Stream.WriteBuffer(FBuffer.data(), static_cast<int32_t>(FBuffer.size()));
  FBuffer.clear();
}

uint8_t TZVCompress::ReadCodeByte() {
  if (FBufferPos == FBuffer.size()) {
    const int32_t want = static_cast<int32_t>(std::min<int64_t>(FInputLeft, BlockSize));
    FBuffer.resize(BlockSize);
    const int32_t got = want > 0 ? Stream.Read(FBuffer.data(), want) : 0;
    FBuffer.resize(static_cast<size_t>(std::max(got, 0)));
    FBufferPos = 0;
    if (FBuffer.empty()) throw EReadError(); // the code bytes end before the page does
    FInputLeft -= got;
  }
  ++FConsumed;
  return FBuffer[FBufferPos++];
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
