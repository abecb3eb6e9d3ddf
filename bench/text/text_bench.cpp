// Text of pages and finding it: the text of a sample page in reading order (goal: under 1 ms), and the
// viewer's find bar on a 10,000-page report from `make-samples --large 10000` looking for a string that
// only the last page has (goal: under 3 s), with the longest time the window went without painting
// meanwhile (goal: at most 100 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <string>

#include "FindBar.h"
#include "MainWindow.h"
#include "ModalHook.h"
#include "ZVApplication.h"
#include "platform/rtl/MemoryReuse.h"
#include "platform/text/PageText.h"
#include "store/ZVPageList.h"

namespace {

const std::string Sample = std::string(ZVP_SOURCE_DIR) + "/samples/faktura.zvp";

void BM_PageText(benchmark::State& state) {
  TZVPageList list;
  list.LoadFromFile(Sample);
  std::unique_ptr<TMetafile> page = list.GetPage(1);
  ReadingOrder(ExtractPageText(*page)); // fonts opened once, as a viewer has them after the first page
  size_t characters = 0;
  for (auto _ : state) {
    TReadingText text = ReadingOrder(ExtractPageText(*page));
    characters = text.Text.size();
    benchmark::DoNotOptimize(text);
  }
  state.counters["characters"] = static_cast<double>(characters);
}
BENCHMARK(BM_PageText)->Unit(benchmark::kMicrosecond);

std::string LargeReport() {
  static QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/large.zvp";
  const std::string command = std::string(ZVP_MAKE_SAMPLES) + " --large 10000 '" + path + "' > /dev/null";
  if (std::system(command.c_str()) != 0) return {};
  return path;
}

// Records the longest gap between two paints of a widget that is asked to repaint every 10 ms.
class TPaintWatch : public QObject {
 public:
  explicit TPaintWatch(QWidget* widget) : FWidget(widget) {
    widget->installEventFilter(this);
    QObject::connect(&FTimer, &QTimer::timeout, widget, [widget] { widget->update(); });
    FTimer.start(10);
    FClock.start();
  }
  qint64 LongestGap() const { return FLongest; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched == FWidget && e->type() == QEvent::Paint) {
      const qint64 now = FClock.elapsed();
      FLongest = std::max(FLongest, now - FLast);
      FLast = now;
    }
    return false;
  }

 private:
  QWidget* FWidget;
  QTimer FTimer;
  QElapsedTimer FClock;
  qint64 FLast = 0, FLongest = 0;
};

void BM_FindOnTheLastPage(benchmark::State& state) {
  const std::string report = LargeReport();
  if (report.empty()) {
    state.SkipWithError("make-samples --large failed");
    return;
  }
  qint64 longestGap = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto window =
        std::make_unique<TfrmDodEdidoPreview>(QStringList{"zvpview", QString::fromStdString(report)});
    window->show();
    QCoreApplication::processEvents();
    // The window reopens a report at the page it last showed: every search starts on page 1.
    window->FormShortCut(Qt::Key_Home, Qt::ControlModifier);
    window->ShowFindBar();
    TPaintWatch watch(window->Panel2);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    window->FindBar()->Edit->setText(QStringLiteral("Strona 10000 z 10000"));
    while (window->FindSearching()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
      QThread::usleep(200);
    }
    state.PauseTiming();
    if (window->ZVPreview1->PageNumber() != 10000) state.SkipWithError("the last page was not found");
    longestGap = std::max(longestGap, watch.LongestGap());
    window.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["longest_paint_gap_ms"] = static_cast<double>(longestGap);
}
BENCHMARK(BM_FindOnTheLastPage)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
  KeepFreedMemoryForReuse(); // as the programs do
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home; // the window keeps its settings there, not in the user's
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  TZVApplication app(argc, argv);
  SetModalHook([](QDialog&) { return 0; });
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
