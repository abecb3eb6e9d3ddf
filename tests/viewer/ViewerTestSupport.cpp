#include "ViewerTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QPainter>

#include "QtTranslation.h"
#include "ViewerSettings.h"
#include "ZVApplication.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiConsts.h"
#include "platform/printer/Printer.h"

namespace viewer_test {

namespace {

struct TEnvironment {
  QTemporaryDir Home;
  std::unique_ptr<TZVApplication> App;
};

// Ends the application after the last test, while the toolkit can still tidy up.
class TApplicationEnd : public ::testing::Environment {
 public:
  explicit TApplicationEnd(std::unique_ptr<TZVApplication>& app) : FApp(app) {}
  void TearDown() override { FApp.reset(); }

 private:
  std::unique_ptr<TZVApplication>& FApp;
};

// Every test starts from the viewer's default settings, whatever the tests before it left behind.
class TFreshSettings : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override { QFile::remove(TViewerSettings::FilePath()); }
};

TEnvironment& Environment() {
  static TEnvironment* env = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* e = new TEnvironment;
    qputenv("XDG_DATA_HOME", (e->Home.path() + "/data").toUtf8());
    qputenv("XDG_CONFIG_HOME", (e->Home.path() + "/config").toUtf8());
    static int argc = 1;
    static char name[] = "viewer_tests";
    static char* argv[] = {name, nullptr};
    e->App = std::make_unique<TZVApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zvpview"));
    InstallQtTranslation();
    ::testing::AddGlobalTestEnvironment(new TApplicationEnd(e->App));
    ::testing::UnitTest::GetInstance()->listeners().Append(new TFreshSettings);
    return e;
  }();
  return *env;
}

// A virtual printer whose pages are drawn through a device context into pictures.
class TDrawingPrinter : public TVirtualPrinter {
 public:
  TDrawingPrinter(std::vector<TVirtualQueue> queues, std::string defaultName,
                  std::shared_ptr<TVirtualSpool> spool, std::shared_ptr<TPrintedPages> printed)
      : TVirtualPrinter(std::move(queues), std::move(defaultName), std::move(spool)),
        FPrinted(std::move(printed)) {}
  ~TDrawingPrinter() override { ClosePage(); }
  TGdiDC* Handle() override { return FDC.get(); }

 protected:
  bool StartJob(int32_t index, const std::string& title) override {
    if (!TVirtualPrinter::StartJob(index, title)) return false;
    FJobIndex = index;
    FPrinted->Jobs.emplace_back();
    OpenPage();
    return true;
  }
  void StartNextPage() override {
    ClosePage();
    TVirtualPrinter::StartNextPage();
    OpenPage();
  }
  void EndJob() override {
    ClosePage();
    TVirtualPrinter::EndJob();
  }
  void AbortJob() override {
    ClosePage();
    TVirtualPrinter::AbortJob();
  }

 private:
  void OpenPage() {
    FImage = QImage(QueryDeviceCaps(FJobIndex, HORZRES), QueryDeviceCaps(FJobIndex, VERTRES),
                    QImage::Format_RGB32);
    FImage.fill(Qt::white);
    FPainter = std::make_unique<QPainter>(&FImage);
    FDC = std::make_unique<TGdiDC>(*FPainter);
  }
  void ClosePage() {
    if (!FPainter) return;
    FDC.reset();
    FPainter.reset();
    FPrinted->Jobs.back().push_back(FImage);
  }

  std::shared_ptr<TPrintedPages> FPrinted;
  int32_t FJobIndex = 0;
  QImage FImage;
  std::unique_ptr<QPainter> FPainter;
  std::unique_ptr<TGdiDC> FDC;
};

TVirtualQueue Queue(const std::string& name) {
  TVirtualQueue q;
  q.Name = name;
  q.Papers = {{1, 215.9, 279.4}, {9, 210, 297}};
  q.Defaults.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
  q.Defaults.dmPaperSize = 9;
  q.Defaults.dmCopies = 1;
  q.Dpi = 50;
  return q;
}

} // namespace

void EnsureApplication() {
  Environment();
}

QString XdgDataHome() {
  return Environment().Home.path() + "/data";
}

QString XdgConfigHome() {
  return Environment().Home.path() + "/config";
}

std::string SamplePath(const char* name) {
  return std::string(ZVP_SOURCE_DIR) + "/samples/" + name;
}

TVirtualPrinters::TVirtualPrinters(std::vector<std::string> names, std::string defaultName)
    : FSpool(std::make_shared<TVirtualSpool>()), FPrinted(std::make_shared<TPrintedPages>()) {
  std::vector<TVirtualQueue> queues;
  for (const std::string& n : names)
    queues.push_back(Queue(n));
  auto spool = FSpool;
  auto printed = FPrinted;
  SetPrinterFactory([queues, defaultName, spool, printed] {
    return std::make_unique<TDrawingPrinter>(queues, defaultName, spool, printed);
  });
  SetApplicationPrinter(nullptr);
}

TVirtualPrinters::~TVirtualPrinters() {
  SetPrinterFactory(nullptr);
  SetApplicationPrinter(nullptr);
}

TModalRecorder::TModalRecorder(TAnswer answer) : FAnswer(std::move(answer)) {
  FPrevious = SetModalHook([this](QDialog& dialog) {
    TSeenDialog seen;
    seen.Title = dialog.windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
      seen.Text = box->text();
      seen.Icon = box->icon();
      Seen.push_back(seen);
      return int(QMessageBox::Ok);
    }
    Seen.push_back(seen);
    return FAnswer ? FAnswer(dialog) : int(QDialog::Rejected);
  });
}

TModalRecorder::~TModalRecorder() {
  SetModalHook(std::move(FPrevious));
}

} // namespace viewer_test

// Fontconfig keeps allocations of its configuration that it frees only in FcFini, which the toolkit
// does not call; they are not this program's leaks.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
