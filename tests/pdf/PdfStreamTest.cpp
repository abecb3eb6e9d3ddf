// Stream objects: the filter decision, the Length entry, secondary attributes, write-once.
#include <gtest/gtest.h>

#include <zlib.h>

#include "pdf/PdfDocument.h"

namespace {

std::string Definition(TPdfDocument& Doc, TPdfStream& Stream) {
  TMemoryStream out;
  TPdfWrite w(&Doc, &out);
  Stream.WriteValueTo(w);
  return w.ToPDFString();
}

std::string Inflate(const std::string& Data, size_t Expected) {
  std::string out(Expected, '\0');
  uLongf length = static_cast<uLongf>(Expected);
  int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                      reinterpret_cast<const Bytef*>(Data.data()), static_cast<uLong>(Data.size()));
  EXPECT_EQ(rc, Z_OK);
  out.resize(length);
  return out;
}

TEST(PdfStream, BodyBelowOneHundredBytesIsWrittenRawWithoutFilter) {
  TPdfDocument doc; // compression is on by default
  auto* stream = new TPdfStream(&doc);
  std::string body(99, 'a');
  stream->Writer().Add(body);
  int n = stream->ObjectNumber();
  EXPECT_EQ(Definition(doc, *stream),
            std::to_string(n) + " 0 obj\n<</Length 99>>\nstream\n" + body + "endstream\nendobj\n");
  EXPECT_EQ(stream->Filter(), "");
}

TEST(PdfStream, BodyOfOneHundredBytesIsDeflatedAndNamesItsFilterLast) {
  TPdfDocument doc;
  auto* stream = new TPdfStream(&doc);
  std::string body;
  for (int i = 0; i < 100; ++i)
    body += static_cast<char>('A' + i % 26);
  stream->Writer().Add(body);
  std::string written = Definition(doc, *stream);
  std::string head = std::to_string(stream->ObjectNumber()) + " 0 obj\n<</Length ";
  ASSERT_EQ(written.substr(0, head.size()), head);
  size_t dictEnd = written.find(">>\nstream\n");
  ASSERT_NE(dictEnd, std::string::npos);
  std::string lengthAndFilter = written.substr(head.size(), dictEnd - head.size());
  size_t length = std::stoul(lengthAndFilter);
  EXPECT_EQ(lengthAndFilter, std::to_string(length) + "/Filter/FlateDecode");
  std::string data = written.substr(dictEnd + 10, length);
  EXPECT_EQ(written.substr(dictEnd + 10 + length), "endstream\nendobj\n");
  EXPECT_EQ(static_cast<uint8_t>(data[0]), 0x78); // zlib wrapper
  EXPECT_EQ(Inflate(data, 100), body);
}

TEST(PdfStream, CompressionIsDecidedWhenTheStreamIsCreated) {
  TPdfDocument doc;
  doc.SetCompressionMethod(cmNone);
  auto* stream = new TPdfStream(&doc);
  doc.SetCompressionMethod(cmFlateDecode);
  stream->Writer().Add(std::string(200, 'z'));
  EXPECT_NE(Definition(doc, *stream).find("<</Length 200>>\nstream\n"), std::string::npos);
}

TEST(PdfStream, EmptyStreamAndWritingReleasesTheContent) {
  TPdfDocument doc;
  auto* stream = new TPdfStream(&doc);
  std::string n = std::to_string(stream->ObjectNumber());
  EXPECT_EQ(Definition(doc, *stream), n + " 0 obj\n<</Length 0>>\nstream\nendstream\nendobj\n");

  auto* once = new TPdfStream(&doc);
  once->Writer().Add("q\nQ\n");
  EXPECT_NE(Definition(doc, *once).find("<</Length 4>>\nstream\nq\nQ\nendstream"), std::string::npos);
  // Writing released the content; a second definition is an empty stream, never stale bytes.
  EXPECT_NE(Definition(doc, *once).find("<</Length 0>>\nstream\nendstream"), std::string::npos);
}

TEST(PdfStream, SecondaryAttributesAreWrittenInsideTheSameDictionary) {
  TPdfDocument doc;
  doc.SetCompressionMethod(cmNone);
  auto* stream = new TPdfStream(&doc);
  TPdfDictionary extra(doc.Xref());
  extra.AddItem("Subtype", "Image");
  stream->Attributes()->AddItem("Type", "XObject");
  stream->SetSecondaryAttributes(&extra);
  stream->Writer().Add("xy");
  EXPECT_NE(Definition(doc, *stream).find("<</Length 2/Type/XObject/Subtype/Image>>\nstream\nxyendstream"),
            std::string::npos);
}

TEST(PdfStream, OtherFiltersKeepTheirBytes) {
  TPdfDocument doc;
  auto* stream = new TPdfStream(&doc);
  stream->SetFilter("DCTDecode");
  std::string jpeg(150, '\xFF');
  stream->Writer().Add(jpeg);
  EXPECT_NE(Definition(doc, *stream).find("<</Length 150/Filter/DCTDecode>>\nstream\n" + jpeg + "endstream"),
            std::string::npos);
}

TEST(PdfStream, UnregisteredStreamStaysDirect) {
  TPdfDocument doc;
  TPdfStream stream(&doc, true);
  EXPECT_EQ(stream.ObjectType(), otDirectObject);
  EXPECT_EQ(stream.Attributes()->ObjectMgr(), nullptr);
  int before = doc.Xref()->ItemCount();
  TPdfStream registered(nullptr);
  EXPECT_EQ(doc.Xref()->ItemCount(), before);
}

TEST(PdfBodyStream, BytesAcrossChunkBoundaries) {
  TPdfBodyStream body;
  std::string data;
  for (int i = 0; i < 200000; ++i)
    data += static_cast<char>(i * 7 % 251);
  body.WriteBuffer(data.data(), 100000);
  body.WriteBuffer(data.data() + 100000, 100000);
  EXPECT_EQ(body.Size(), 200000);
  std::string back(200000, '\0');
  body.SetPosition(0);
  body.ReadBuffer(back.data(), 200000);
  EXPECT_EQ(back, data);
  EXPECT_EQ(body.Read(back.data(), 10), 0); // at the end

  std::string runs;
  body.ForEachRun(
      [&](const uint8_t* Run, size_t Size) { runs.append(reinterpret_cast<const char*>(Run), Size); });
  EXPECT_EQ(runs, data);

  body.Seek(65530, soBeginning);
  body.WriteBuffer("0123456789", 10); // overwrites across the first boundary
  data.replace(65530, 10, "0123456789");
  body.SetSize(70000);
  body.Seek(-10, soEnd);
  char tail[10];
  body.ReadBuffer(tail, 10);
  EXPECT_EQ(std::string(tail, 10), data.substr(69990, 10));
  body.SetSize(70010);
  body.Seek(69995, soBeginning);
  char grown[15];
  body.ReadBuffer(grown, 15);
  EXPECT_EQ(std::string(grown, 15), data.substr(69995, 5) + std::string(10, '\0'));
  body.SetSize(0);
  EXPECT_EQ(body.Size(), 0);
  EXPECT_EQ(body.Position(), 0);
}

TEST(PdfStream, LargeBodyDeflatesAcrossChunks) {
  TPdfDocument doc;
  auto* stream = new TPdfStream(&doc);
  std::string body;
  for (int i = 0; i < 30000; ++i)
    body += std::to_string(i * 37 % 1000) + " 0 m\n";
  stream->Writer().Add(body);
  std::string written = Definition(doc, *stream);
  size_t start = written.find("stream\n") + 7;
  size_t end = written.rfind("endstream");
  EXPECT_EQ(Inflate(written.substr(start, end - start), body.size()), body);
}

} // namespace
