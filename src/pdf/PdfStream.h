#pragma once
// TPdfStream: a stream object whose body is collected through its own TPdfWrite into an in-memory byte
// stream. With the FlateDecode filter chosen at creation, bodies of at least 100 bytes are deflated
// (zlib, level 7) when written; shorter ones are written raw without a filter. A stream is written once:
// writing empties its content.
#include <memory>
#include <string>

#include "pdf/PdfBodyStream.h"
#include "pdf/PdfDictionary.h"

class TPdfDocument;
class TPdfWrite;

class TPdfStream : public TPdfObject {
 public:
  // Registers itself in ADoc's registry unless DontAddToFXref (or when there is no document); takes the
  // filter from ADoc's CompressionMethod now.
  explicit TPdfStream(TPdfDocument* ADoc, bool DontAddToFXref = false);
  ~TPdfStream() override;

  TPdfDictionary* Attributes() const { return FAttributes.get(); }
  // Elements written inside the same dictionary after the stream's own; borrowed.
  void SetSecondaryAttributes(TPdfDictionary* Value) { FSecondaryAttributes = Value; }
  TPdfWrite& Writer() const { return *FWriter; }
  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& Value) { FFilter = Value; }
  bool DoNotEncrypt() const { return FDoNotEncrypt; }
  void SetDoNotEncrypt(bool Value) { FDoNotEncrypt = Value; }

 protected:
  void WriteBodyTo(TPdfWrite& W) override;

  std::unique_ptr<TPdfDictionary> FAttributes;
  TPdfDictionary* FSecondaryAttributes = nullptr;
  bool FDoNotEncrypt = false;
  std::string FFilter;
  std::unique_ptr<TPdfBodyStream> FBody;
  std::unique_ptr<TPdfWrite> FWriter;
};

// Base of image and form XObjects.
class TPdfXObject : public TPdfStream {
 public:
  using TPdfStream::TPdfStream;
  // A form's own "Font" resources, which a page that draws it must also carry; none for an image.
  virtual TPdfDictionary* FormFontList() const { return nullptr; }
};
