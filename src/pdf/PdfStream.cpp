#include "pdf/PdfStream.h"

#include <zlib.h>

#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfWrite.h"

namespace {

constexpr int FlateLevel = 7;
constexpr int64_t MinFlateLength = 100;

std::string Deflate(const uint8_t* Data, size_t Size) {
  uLongf capacity = compressBound(static_cast<uLong>(Size));
  std::string out(capacity, '\0');
  int rc =
      compress2(reinterpret_cast<Bytef*>(out.data()), &capacity, Data, static_cast<uLong>(Size), FlateLevel);
  if (rc != Z_OK) throw EPdfInvalidOperation("FlateDecode");
  out.resize(capacity);
  return out;
}

} // namespace

TPdfStream::TPdfStream(TPdfDocument* ADoc, bool DontAddToFXref) {
  bool registered = ADoc && !DontAddToFXref;
  if (registered) ADoc->Xref()->AddObject(this);
  FAttributes = std::make_unique<TPdfDictionary>(registered ? ADoc->Xref() : nullptr);
  FAttributes->AddItem("Length", 0);
  if (ADoc && ADoc->CompressionMethod() == cmFlateDecode) FFilter = "FlateDecode";
  FBody = std::make_unique<TMemoryStream>();
  FWriter = std::make_unique<TPdfWrite>(ADoc, FBody.get());
}

TPdfStream::~TPdfStream() = default;

void TPdfStream::WriteBodyTo(TPdfWrite& W) {
  TPdfObject::WriteBodyTo(W);
  FWriter->Save();
  const uint8_t* body = FBody->Memory();
  // All of the writer's bytes are in the body; after a first write it is empty.
  int64_t length = FBody->Size();
  std::string compressed;
  if (FFilter == "FlateDecode") {
    if (length >= MinFlateLength) {
      compressed = Deflate(body, static_cast<size_t>(length));
      body = reinterpret_cast<const uint8_t*>(compressed.data());
      length = static_cast<int64_t>(compressed.size());
    } else {
      FFilter.clear();
    }
  }
  if (TPdfNumber* lengthValue = FAttributes->PdfNumberByName("Length"))
    lengthValue->SetValue(static_cast<int32_t>(length));
  else
    FAttributes->AddItem("Length", static_cast<int32_t>(length));
  if (!FFilter.empty()) FAttributes->AddItem("Filter", FFilter);
  W.Add("<<");
  FAttributes->WriteElementsTo(W);
  if (FSecondaryAttributes) FSecondaryAttributes->WriteElementsTo(W);
  W.Add(">>\nstream\n");
  W.Add(reinterpret_cast<const char*>(body), static_cast<size_t>(length));
  W.Add("endstream");
  FBody->Clear();
}
