#include "pdf/PdfStream.h"

#include <zlib.h>

#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfWrite.h"
#include "pdf/PdfXref.h"

namespace {

constexpr int FlateLevel = 7;
constexpr int64_t MinFlateLength = 100;

std::string Deflate(const TPdfBodyStream& Body) {
  z_stream z{};
  if (deflateInit(&z, FlateLevel) != Z_OK) throw EPdfInvalidOperation("FlateDecode");
  std::string out;
  uint8_t buffer[16384];
  auto pump = [&](int Flush) {
    int rc;
    do {
      z.next_out = buffer;
      z.avail_out = sizeof(buffer);
      rc = deflate(&z, Flush);
      out.append(reinterpret_cast<char*>(buffer), sizeof(buffer) - z.avail_out);
    } while (z.avail_out == 0 && rc != Z_STREAM_END);
  };
  try {
    Body.ForEachRun([&](const uint8_t* Run, size_t Size) {
      z.next_in = const_cast<Bytef*>(Run);
      z.avail_in = static_cast<uInt>(Size);
      pump(Z_NO_FLUSH);
    });
    pump(Z_FINISH);
  } catch (...) {
    deflateEnd(&z);
    throw;
  }
  deflateEnd(&z);
  return out;
}

} // namespace

TPdfStream::TPdfStream(TPdfDocument* ADoc, bool DontAddToFXref) {
  bool registered = ADoc && !DontAddToFXref;
  if (registered) ADoc->Xref()->AddObject(this);
  FAttributes = std::make_unique<TPdfDictionary>(registered ? ADoc->Xref() : nullptr);
  FAttributes->AddItem("Length", 0);
  if (ADoc && ADoc->CompressionMethod() == cmFlateDecode) FFilter = "FlateDecode";
  FBody = std::make_unique<TPdfBodyStream>();
  FWriter = std::make_unique<TPdfWrite>(ADoc, FBody.get());
}

TPdfStream::~TPdfStream() = default;

void TPdfStream::WriteBodyTo(TPdfWrite& W) {
  TPdfObject::WriteBodyTo(W);
  FWriter->Save();
  // All of the writer's bytes are in the body; after a first write it is empty.
  int64_t length = FBody->Size();
  std::string compressed;
  if (FFilter == "FlateDecode") {
    if (length >= MinFlateLength) {
      compressed = Deflate(*FBody);
      length = static_cast<int64_t>(compressed.size());
    } else {
      FFilter.clear();
    }
  }
  int32_t lengthEntry = PdfFileOffset(length, "PDF stream length");
  if (TPdfNumber* lengthValue = FAttributes->PdfNumberByName("Length"))
    lengthValue->SetValue(lengthEntry);
  else
    FAttributes->AddItem("Length", lengthEntry);
  if (!FFilter.empty()) FAttributes->AddItem("Filter", FFilter);
  W.Add("<<");
  FAttributes->WriteElementsTo(W);
  if (FSecondaryAttributes) FSecondaryAttributes->WriteElementsTo(W);
  W.Add(">>\nstream\n");
  if (compressed.empty())
    FBody->ForEachRun(
        [&](const uint8_t* Run, size_t Size) { W.Add(reinterpret_cast<const char*>(Run), Size); });
  else
    W.Add(compressed);
  W.Add("endstream");
  // A document's save keeps the content, so that saving the document again writes the same file;
  // written on its own, a stream releases it.
  if (!W.Doc() || !W.Doc()->IsSaving()) FBody->SetSize(0);
}
