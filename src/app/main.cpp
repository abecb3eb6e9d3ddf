// zvpview [FILE.zvp]: the saved-report viewer.
#include <QCoreApplication>
#include <exception>

#include "MainWindow.h"
#include "ProgramIcon.h"
#include "QtTranslation.h"
#include "ZVApplication.h"
#include "platform/printer/MessagePump.h"
#include "platform/printer/QtPrinter.h"

int main(int argc, char** argv) {
  TZVApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("zvpview"));
  InstallQtTranslation();
  QApplication::setWindowIcon(ProgramIcon());
  SetMessagePump([] { QCoreApplication::processEvents(); });
  try {
    InstallQtPrinters();
    auto* window = new TfrmDodEdidoPreview(QCoreApplication::arguments());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
  } catch (const std::exception& e) {
    ShowErrorBox(QString::fromUtf8(e.what()));
    return 1;
  }
  return QApplication::exec();
}
