#include "ZVApplication.h"

#include <exception>

#include "ModalHook.h"

TZVApplication::TZVApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TZVApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowErrorBox(QString::fromUtf8(e.what()));
  } catch (...) {
    ShowErrorBox(QStringLiteral("Unknown error"));
  }
  return false;
}

void ShowErrorBox(const QString& message) {
  ShowMessageBox(QApplication::activeWindow(), QCoreApplication::applicationName(), message,
                 QMessageBox::Critical);
}
