// icon-sizes SOURCE.png OUT_DIR SIZE...: the program icon scaled smoothly to the hicolor sizes the
// resources do not carry, written as OUT_DIR/zvpview-SIZE.png.
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: icon-sizes SOURCE.png OUT_DIR SIZE...\n");
    return 2;
  }
  const QImage source(QString::fromLocal8Bit(argv[1]));
  if (source.isNull()) {
    std::fprintf(stderr, "icon-sizes: %s cannot be read\n", argv[1]);
    return 1;
  }
  for (int i = 3; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    const QString out = QStringLiteral("%1/zvpview-%2.png").arg(QString::fromLocal8Bit(argv[2])).arg(size);
    if (size < 1 || !source.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(out)) {
      std::fprintf(stderr, "icon-sizes: %s cannot be written\n", qPrintable(out));
      return 1;
    }
  }
  return 0;
}
