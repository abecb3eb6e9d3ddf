#pragma once
// What the viewer tests share: one application object on the offscreen platform with Qt's Polish texts,
// a temporary XDG home (so no test touches the real desktop settings; the viewer's settings file is
// removed before each test), virtual printers, the sample reports, and a modal hook that answers dialogs
// and records what they said.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QImage>
#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ModalHook.h"
#include "platform/printer/VirtualPrinter.h"

namespace viewer_test {

// Creates the application (offscreen) and the temporary XDG home on first use.
void EnsureApplication();
// A fixture's first member when later members are widgets.
struct TApplicationFirst {
  TApplicationFirst() { EnsureApplication(); }
};
// The temporary XDG data and config homes of this test program.
QString XdgDataHome();
QString XdgConfigHome();

std::string SamplePath(const char* name);

// The pages that reached the drawing printers, one picture per printed page, per job.
struct TPrintedPages {
  std::vector<std::vector<QImage>> Jobs;
};

// A virtual printer set (50 dpi, A4) installed as the program's printers for the life of the object.
// Its printers draw each page through a device context into a picture.
class TVirtualPrinters {
 public:
  explicit TVirtualPrinters(std::vector<std::string> names = {"Biuro", "Magazyn"},
                            std::string defaultName = "Biuro");
  ~TVirtualPrinters();
  const TVirtualSpool& Spool() const { return *FSpool; }
  const TPrintedPages& Printed() const { return *FPrinted; }

 private:
  std::shared_ptr<TVirtualSpool> FSpool;
  std::shared_ptr<TPrintedPages> FPrinted;
};

// A message box or dialog seen by the hook.
struct TSeenDialog {
  QString Title;
  QString Text; // of a message box
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Installs a hook for the life of the object: message boxes are recorded and closed with OK; any other
// dialog goes to `answer` (which may fill it in) and closes with its result; without `answer` it is
// recorded and cancelled.
class TModalRecorder {
 public:
  using TAnswer = std::function<int(QDialog&)>;
  explicit TModalRecorder(TAnswer answer = nullptr);
  ~TModalRecorder();
  std::vector<TSeenDialog> Seen;

 private:
  TAnswer FAnswer;
  TModalHook FPrevious;
};

} // namespace viewer_test
