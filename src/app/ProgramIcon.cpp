#include "ProgramIcon.h"

#include <QFile>

namespace {
QString IconResource(int size) {
  return QStringLiteral(":/zvpview/zvpview-%1.png").arg(size);
}
} // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : ProgramIconSizes)
    icon.addFile(IconResource(size), QSize(size, size));
  return icon;
}

QByteArray ProgramIconPng(int size) {
  QFile file(IconResource(size));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
