#pragma once
// TZVPreviewImage: the page of a report drawn at the preview's zoom, on a white sheet with a frame and a
// two-pixel shadow along the right and bottom edges. It holds the one decoded page it shows and plays it
// anew on every paint. A page that cannot be decoded leaves the image empty (the error goes to the
// caller); damaged records inside a page are skipped by the player.
#include <QRectF>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/metafile/Metafile.h"

class TZVPrinter;

class TZVPreviewImage : public QWidget {
 public:
  explicit TZVPreviewImage(QWidget* parent = nullptr);
  ~TZVPreviewImage() override;

  TZVPrinter* ZVPrinter() const { return FZVPrinter; }
  void SetZVPrinter(TZVPrinter* Value) { FZVPrinter = Value; }
  int32_t PageNumber() const { return FPageNumber; }
  // Drops the page shown, asks the printer for page `Value` and paints at once.
  void SetPageNumber(int32_t Value);
  bool ImageOK() const { return FImageOK; }
  void SetImageOK(bool Value) { FImageOK = Value; }
  const TMetafile* MetaFile() const { return aMetaFile.get(); }

  // Boxes in page pixels (the page at its own size) painted over the page in a translucent colour, as found
  // text is marked; showing another page drops them.
  void SetHighlights(std::vector<QRectF> PageBoxes);
  const std::vector<QRectF>& Highlights() const { return FHighlights; }
  // A box in page pixels as it lies on this widget at its present size.
  QRectF PageToWidget(const QRectF& PageBox) const;

  // Copy of the preview's zoom in percent.
  int32_t Zoom = 100;

 protected:
  void paintEvent(QPaintEvent*) override;
  // The page is part of the scrolled view: its wheel is the view's.
  void wheelEvent(QWheelEvent* e) override;

 private:
  TZVPrinter* FZVPrinter = nullptr;
  int32_t FPageNumber = 1;
  std::unique_ptr<TMetafile> aMetaFile;
  bool FImageOK = false;
  std::vector<QRectF> FHighlights;
};
