// viewer-screenshot REPORT OUT.png [WIDTH]: the viewer's window showing REPORT, captured from the screen
// (run it under a display server, e.g. xvfb-run) at its default size or WIDTH pixels wide. The settings of
// the person running it are neither read nor changed.
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "MainWindow.h"
#include "ModalHook.h"
#include "ProgramIcon.h"
#include "QtTranslation.h"
#include "ZVApplication.h"
#include "platform/printer/QtPrinter.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: viewer-screenshot REPORT OUT.png [WIDTH]\n");
    return 2;
  }
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
  TZVApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("zvpview"));
  InstallQtTranslation();
  QApplication::setWindowIcon(ProgramIcon());
  SetModalHook([](QDialog&) { return int(QDialog::Rejected); });
  InstallQtPrinters();

  const QString out = QString::fromLocal8Bit(argv[2]);
  const int width = argc > 3 ? std::atoi(argv[3]) : 0;
  TfrmDodEdidoPreview window(QStringList{QStringLiteral("zvpview"), QString::fromLocal8Bit(argv[1])});
  if (width > 0) window.resize(width, window.height());
  window.show();
  int result = 1;
  // Long enough for the window to be mapped, laid out and painted.
  QTimer::singleShot(1500, [&] {
    const QPixmap shot = window.screen()->grabWindow(window.winId());
    result = shot.save(out) ? 0 : 1;
    if (result) std::fprintf(stderr, "cannot write %s\n", argv[2]);
    window.close();
    QCoreApplication::quit();
  });
  QCoreApplication::exec();
  return result;
}
