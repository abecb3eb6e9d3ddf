#pragma once
// Helpers for drawing small metafiles onto images in tests.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <vector>

#include "platform/emfwriter/EmfRecordBuilder.h"
#include "platform/emfwriter/EmfWriter.h"
#include "platform/gdi/Player.h"

// Fonts need a GUI application; one is made on first use and lives for the whole test program.
inline void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "gdi_test";
  static char* argv[] = {name, nullptr};
  // Deleted when the tests end, before static destructors run.
  struct TGuiEnvironment : ::testing::Environment {
    void TearDown() override { delete QGuiApplication::instance(); }
  };
  new QGuiApplication(argc, argv);
  ::testing::AddGlobalTestEnvironment(new TGuiEnvironment);
}

// The writer's metafile with raw records inserted just before its EOF record (header counts adjusted).
inline TMetafile WithRecords(TEmfWriter& writer, const std::vector<std::vector<uint8_t>>& records) {
  std::vector<uint8_t> bytes = writer.Finish();
  ByteView view(bytes.data(), bytes.size());
  size_t at = 0;
  while (view.U32(at) != 14)
    at += view.U32(at + 4); // find EMR_EOF
  size_t added = 0;
  for (const auto& r : records) {
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at + added), r.begin(), r.end());
    added += r.size();
  }
  uint32_t nBytes = static_cast<uint32_t>(bytes.size()), nRecords = 0;
  std::memcpy(&nRecords, bytes.data() + 52, 4);
  nRecords += static_cast<uint32_t>(records.size());
  std::memcpy(bytes.data() + 48, &nBytes, 4);
  std::memcpy(bytes.data() + 52, &nRecords, 4);
  TMetafile metafile;
  metafile.LoadFromBytes(std::move(bytes));
  return metafile;
}

inline std::vector<uint8_t> Record(TEmfRecordBuilder builder) {
  return builder.Bytes();
}

// Plays the metafile over a white image of its own pixel size.
inline QImage Draw(const TMetafile& metafile) {
  QImage image(metafile.Width(), metafile.Height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  StretchDrawMetafile(painter, TEmfRect{0, 0, image.width(), image.height()}, metafile);
  return image;
}

inline bool IsInk(const QImage& image, int x, int y) {
  return qGray(image.pixel(x, y)) < 160;
}
inline bool IsWhite(const QImage& image, int x, int y) {
  return image.pixel(x, y) == qRgb(255, 255, 255);
}

// Inked pixels in the columns [x0, x1).
inline int InkInColumns(const QImage& image, int x0, int x1) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = x0; x < x1; ++x)
      n += qGray(image.pixel(x, y)) < 200;
  return n;
}

// Ink at the pixel or one of its eight neighbours (antialiased edges fall either side).
inline bool IsInkNear(const QImage& image, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (image.valid(x + dx, y + dy) && IsInk(image, x + dx, y + dy)) return true;
  return false;
}
