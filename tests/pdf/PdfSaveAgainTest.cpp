// Saving a document more than once, and files too large for the cross-reference table.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "PdfTestSupport.h"
#include "pdf/PdfDate.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfImage.h"
#include "pdf/PdfWrite.h"
#include "pdf/PdfXref.h"
#include "platform/rtl/Stream.h"

namespace {

// A page with a drawing and an image; streams compressed or not.
std::unique_ptr<TPdfDocumentGDI> DocumentWithContent(TPdfCompressionMethod Compression) {
  auto doc = std::make_unique<TPdfDocumentGDI>(true, 1250);
  doc->SetCompressionMethod(Compression);
  doc->AddPage();
  for (int i = 0; i < 20; ++i)
    doc->Canvas()->Rectangle(10.0f * i, 10, 5, 5);
  doc->Canvas()->Fill();
  std::vector<uint8_t> pixels(30 * 20 * 3, 0x40);
  TPdfRaster raster;
  raster.Width = 30;
  raster.Height = 20;
  raster.Rows = ByteView(pixels.data(), pixels.size());
  raster.Stride = 90;
  TPdfBox at{100, 100, 60, 40};
  doc->CreateOrGetImage(raster, &at);
  doc->CreateOutline(u"Strona 1", 1, 800);
  return doc;
}

std::string FileText(const std::string& Path) {
  std::vector<uint8_t> bytes = ReadFileBytes(Path);
  return std::string(bytes.begin(), bytes.end());
}

// The modification date is the time of each save; everything else must match.
std::string WithoutModDate(std::string Text) {
  size_t at = Text.find("/ModDate(D:");
  if (at != std::string::npos) Text.replace(at + 11, 14, 14, '#');
  return Text;
}

TEST(PdfSaveAgain, SecondSaveWritesTheSameCompleteFile) {
  for (TPdfCompressionMethod compression : {cmNone, cmFlateDecode}) {
    auto doc = DocumentWithContent(compression);
    std::string suffix = compression == cmNone ? "plain" : "deflated";
    std::string first = std::string(ZVP_TEST_OUTPUT_DIR) + "/pdf-save-once-" + suffix + ".pdf";
    std::string second = std::string(ZVP_TEST_OUTPUT_DIR) + "/pdf-save-twice-" + suffix + ".pdf";
    ASSERT_TRUE(doc->SaveToFile(first));
    ASSERT_TRUE(doc->SaveToFile(second));
    EXPECT_EQ(PdfToolProblems(first), "") << suffix;
    EXPECT_EQ(PdfToolProblems(second), "") << suffix;
    EXPECT_EQ(WithoutModDate(FileText(first)), WithoutModDate(FileText(second))) << suffix;
    if (compression == cmNone) {
      EXPECT_NE(FileText(second).find("/ZVImg0 Do"), std::string::npos);
    }

    // With the same dates the bytes are identical, also for a third save through a stream.
    std::string again = SavedBytes(*doc);
    EXPECT_EQ(again, SavedBytes(*doc)) << suffix;
    EXPECT_GT(again.size(), compression == cmNone ? 3000u : 1000u);
  }
}

// What is drawn after a save is in the next file.
TEST(PdfSaveAgain, LaterDrawingReachesTheNextFile) {
  auto doc = DocumentWithContent(cmNone);
  std::string before = SavedBytes(*doc);
  doc->Canvas()->MoveTo(1, 2);
  doc->AddPage();
  std::string after = SavedBytes(*doc);
  EXPECT_EQ(before.find("1 2 m\n"), std::string::npos);
  EXPECT_NE(after.find("1 2 m\n"), std::string::npos);
  EXPECT_NE(after.find("/Count 2"), std::string::npos);
  std::string path = SaveForInspection(*doc, "saved-again-with-a-page-more.pdf");
  EXPECT_EQ(PdfToolProblems(path), "");
  EXPECT_EQ(PdfInfoPages(path), 2);
}

// A stream that keeps nothing and reports positions from a chosen start, as a file would after that many
// bytes.
class TFarPositionStream : public TStream {
 public:
  explicit TFarPositionStream(int64_t Start) : FPosition(Start) {}
  int32_t Read(void*, int32_t) override { return 0; }
  int32_t Write(const void*, int32_t Count) override {
    FPosition += Count;
    return Count;
  }
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override {
    if (Origin == soBeginning) FPosition = Offset;
    if (Origin == soCurrent) FPosition += Offset;
    return FPosition;
  }

 private:
  int64_t FPosition;
};

TEST(PdfSaveAgain, OffsetsBeyondTwoGigabytesAreRefusedNotClamped) {
  const std::string beyond = "PDF file offset beyond 2147483647: ";
  struct TCase {
    int64_t Start;
    std::string Message; // empty: the save succeeds
  };
  const std::vector<TCase> cases = {
      {0, ""},
      {int64_t{INT32_MAX} - 100000, ""},
      {int64_t{INT32_MAX} - 8, beyond + "2147483648"}, // the first object would start past the limit
      {int64_t{INT32_MAX} + 1, beyond + std::to_string(int64_t{INT32_MAX} + 10)},
      {int64_t{5} << 32, beyond + std::to_string((int64_t{5} << 32) + 9)},
  };
  for (const auto& c : cases) {
    auto doc = DocumentWithContent(cmNone);
    TFarPositionStream stream(c.Start);
    std::string message;
    try {
      doc->SaveToStream(stream, EncodePdfDateTime(2024, 1, 31, 23, 59, 59));
    } catch (const EPdfInvalidValue& e) {
      message = e.Message();
    }
    EXPECT_EQ(message, c.Message) << c.Start;
    EXPECT_FALSE(doc->IsSaving());
  }
}

// The table line, the trailer address and the "Length" entries share one rule.
TEST(PdfSaveAgain, FileOffsetRule) {
  EXPECT_EQ(PdfFileOffset(0), 0);
  EXPECT_EQ(PdfFileOffset(INT32_MAX), INT32_MAX);
  for (int64_t value : {int64_t{INT32_MAX} + 1, int64_t{UINT32_MAX} + 5, INT64_MAX}) {
    try {
      PdfFileOffset(value, "PDF stream length");
      ADD_FAILURE() << value;
    } catch (const EPdfInvalidValue& e) {
      EXPECT_EQ(e.Message(), "PDF stream length beyond 2147483647: " + std::to_string(value));
    }
  }
  TMemoryStream stream;
  TPdfWrite w(nullptr, &stream);
  TPdfXrefEntry entry("n", 0, nullptr);
  entry.SetByteOffset(INT32_MAX);
  entry.SaveToPdfWrite(w);
  EXPECT_EQ(w.ToPDFString(), "2147483647 00000 n \n");
  entry.SetByteOffset(int64_t{INT32_MAX} + 1);
  EXPECT_THROW(entry.SaveToPdfWrite(w), EPdfInvalidValue);
}

} // namespace

namespace {

// Completes itself as TrueType fonts do: its descriptor is registered when the document is saved.
class TDescriptorFont : public TPdfFont {
 public:
  explicit TDescriptorFont(TPdfDocument& Doc) : FDoc(Doc) {
    fTrueTypeFontsIndex = 1;
    auto* font = new TPdfDictionary(Doc.Xref());
    Doc.Xref()->AddObject(font);
    font->AddItem("Type", "Font");
    font->AddItem("Subtype", "TrueType");
    font->AddItem("BaseFont", "Test");
    SetData(font);
  }
  void FinishFont() override {
    ++Finished;
    auto* descriptor = new TPdfDictionary(FDoc.Xref());
    FDoc.Xref()->AddObject(descriptor);
    descriptor->AddItem("Type", "FontDescriptor");
    FData->AddItem("FontDescriptor", descriptor);
  }
  int Finished = 0;

 private:
  TPdfDocument& FDoc;
};

// A second save writes the fonts finished by the first; finishing again would register them twice.
TEST(PdfSaveAgain, FontsAreFinishedOnce) {
  auto doc = DocumentWithContent(cmNone);
  auto font = std::make_unique<TDescriptorFont>(*doc);
  TDescriptorFont* kept = font.get();
  doc->AddFontToList(std::move(font));
  std::string first = SavedBytes(*doc);
  EXPECT_EQ(SavedBytes(*doc), first);
  EXPECT_EQ(kept->Finished, 1);
  EXPECT_NE(first.find("/Type/FontDescriptor"), std::string::npos);

  // A font added after the save is finished by the next one.
  auto later = std::make_unique<TDescriptorFont>(*doc);
  TDescriptorFont* added = later.get();
  doc->AddFontToList(std::move(later));
  SavedBytes(*doc);
  EXPECT_EQ(kept->Finished, 1);
  EXPECT_EQ(added->Finished, 1);

  // A new skeleton starts with no finished fonts.
  doc->NewDoc();
  auto fresh = std::make_unique<TDescriptorFont>(*doc);
  TDescriptorFont* third = fresh.get();
  doc->AddFontToList(std::move(fresh));
  doc->AddPage();
  SavedBytes(*doc);
  EXPECT_EQ(third->Finished, 1);
}

} // namespace
