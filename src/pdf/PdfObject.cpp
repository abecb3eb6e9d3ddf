#include "pdf/PdfObject.h"

#include "pdf/PdfCodePages.h"
#include "pdf/PdfDocument.h"
#include "pdf/PdfErrors.h"
#include "pdf/PdfWrite.h"

void TPdfObject::WriteTo(TPdfWrite& W) {
  if (FObjectType == otDirectObject) {
    WriteBodyTo(W);
    return;
  }
  W.AddWithSpace(FObjectNumber).AddWithSpace(FGenerationNumber).Add('R');
}

void TPdfObject::WriteValueTo(TPdfWrite& W) {
  if (FObjectType != otIndirectObject) throw EPdfInvalidOperation("WriteValueTo");
  W.AddWithSpace(FObjectNumber).AddWithSpace(FGenerationNumber).Add("obj\n");
  WriteBodyTo(W);
  W.Add("\nendobj\n");
}

void TPdfObject::SetObjectNumber(int32_t Value) {
  FObjectNumber = Value;
  FObjectType = otIndirectObject;
}

void TPdfObject::WriteBodyTo(TPdfWrite& W) {
  if (FObjectNumber > 0 && W.Doc()) W.Doc()->SetCurrentObject(FObjectNumber, FGenerationNumber);
}

TPdfVirtualObject::TPdfVirtualObject(int32_t AObjectId) {
  FObjectNumber = AObjectId;
  FObjectType = otVirtualObject;
}

void TPdfNull::WriteBodyTo(TPdfWrite& W) {
  W.Add("null");
}

void TPdfBoolean::WriteBodyTo(TPdfWrite& W) {
  W.Add(FValue ? "true" : "false");
}

void TPdfNumber::WriteBodyTo(TPdfWrite& W) {
  W.Add(FValue);
}

void TPdfReal::WriteBodyTo(TPdfWrite& W) {
  W.Add(FValue);
}

// The host's ANSI code page is single-byte, so the multi-byte "<FEFF...>" form never applies here.
void TPdfText::WriteBodyTo(TPdfWrite& W) {
  W.Add('(').AddEscapeContent(FValue).Add(')');
}

namespace {
// Same byte in code page 1252: ASCII and U+00A0..U+00FF (U+0080..U+009F are other characters there).
bool IsLatin1InWinAnsi(char16_t c) {
  return c < 0x80 || (c >= 0xA0 && c <= 0xFF);
}
} // namespace

void TPdfTextUTF8::WriteBodyTo(TPdfWrite& W) {
  std::u16string wide = Utf8ToUtf16(FValue);
  bool literal = true;
  for (char16_t c : wide)
    if (!IsLatin1InWinAnsi(c)) {
      literal = false;
      break;
    }
  if (literal) {
    std::string bytes(wide.begin(), wide.end());
    W.Add('(').AddEscapeContent(bytes).Add(')');
  } else {
    W.Add("<FEFF").AddUnicodeHex(wide.data(), static_cast<int>(wide.size())).Add('>');
  }
}

TPdfTextString::TPdfTextString(const std::u16string& AValue) : TPdfTextUTF8(Utf16ToUtf8(AValue)) {}

std::u16string TPdfTextString::Value() const {
  return Utf8ToUtf16(FValue);
}

void TPdfTextString::SetValue(const std::u16string& AValue) {
  FValue = Utf16ToUtf8(AValue);
}

void TPdfRawText::WriteBodyTo(TPdfWrite& W) {
  W.Add(FValue);
}

TPdfClearText::TPdfClearText(const void* Buffer, size_t Len)
    : TPdfText(std::string(static_cast<const char*>(Buffer), Len)) {}

void TPdfClearText::WriteBodyTo(TPdfWrite& W) {
  W.Add('(').AddEscape(FValue.data(), FValue.size()).Add(')');
}

void TPdfName::WriteBodyTo(TPdfWrite& W) {
  W.Add('/').AddEscapeName(FValue);
}
