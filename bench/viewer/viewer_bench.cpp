// The viewer as a person meets it, on the offscreen platform: from an empty application to the first
// painted page of the sample invoice (Qt's Polish texts loaded and a full settings file read, as on a
// desktop in use), a page flip, and a 10,000-page report (flip time and resident memory, which must not
// grow with the report).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "MainWindow.h"
#include "ModalHook.h"
#include "QtTranslation.h"
#include "ViewerSettings.h"
#include "ZVApplication.h"
#include "platform/emfwriter/EmfWriter.h"
#include "store/ZVPageList.h"

namespace {

const std::string Sample = std::string(ZVP_SOURCE_DIR) + "/samples/faktura.zvp";

double ResidentMegabytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * 4096.0 / (1024 * 1024);
}

// A compressed report of `pages` A4 pages of listing lines, written once per run.
std::string LargeReport(int pages) {
  static QTemporaryDir dir;
  const std::string path = dir.path().toStdString() + "/large-" + std::to_string(pages) + ".zvp";
  if (QFile::exists(QString::fromStdString(path))) return path;
  TZVPageList list;
  list.SetStream(std::make_unique<TZVStream>(1 << 20));
  list.SetCompression(true);
  for (int p = 1; p <= pages; ++p) {
    TEmfWriter page(794, 1123, 96);
    for (int line = 0; line < 40; ++line)
      page.TextOut(60, 80 + line * 24,
                   "Pozycja " + std::to_string((p - 1) * 40 + line + 1) + "   12,50 zl   strona " +
                       std::to_string(p));
    list.AddPage(page.ToMetafile());
  }
  list.Finish();
  list.SaveToFile(path);
  return path;
}

std::unique_ptr<TfrmDodEdidoPreview> OpenWindow(const std::string& report) {
  auto window = std::make_unique<TfrmDodEdidoPreview>(QStringList{"zvpview", QString::fromStdString(report)});
  window->show();
  // The start-up handler opens the report and paints its first page.
  QCoreApplication::processEvents();
  return window;
}

void BM_StartToFirstPaintedPage(benchmark::State& state) {
  for (auto _ : state) {
    auto window = OpenWindow(Sample);
    if (!window->ZVPreview1->PreviewImage()->ImageOK()) state.SkipWithError("page not shown");
    state.PauseTiming();
    window.reset();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartToFirstPaintedPage)->Unit(benchmark::kMillisecond);

// Argument: the zoom in per cent, 0 for the page fitted to the window.
void BM_PageFlip(benchmark::State& state) {
  auto window = OpenWindow(Sample);
  if (state.range(0) > 0) window->ZVPreview1->SetZoom(static_cast<int32_t>(state.range(0)));
  bool forward = true;
  for (auto _ : state) {
    if (forward)
      window->btnNextPageClick();
    else
      window->btnPrevPageClick();
    if (window->ZVPreview1->PageNumber() == (forward ? 3 : 1)) forward = !forward;
  }
}
BENCHMARK(BM_PageFlip)->Arg(0)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// Flips between the last pages of a large report; the resident size is reported as a counter.
void BM_LargeReportFlip(benchmark::State& state) {
  const int pages = static_cast<int>(state.range(0));
  const std::string report = LargeReport(pages);
  auto window = OpenWindow(report);
  window->FormShortCut(Qt::Key_PageDown, Qt::ControlModifier);
  bool back = true;
  for (auto _ : state) {
    window->FormShortCut(back ? Qt::Key_PageUp : Qt::Key_PageDown, Qt::NoModifier);
    back = !back;
  }
  state.counters["resident_MB"] = ResidentMegabytes();
  state.counters["page"] = window->ZVPreview1->PageNumber();
}
BENCHMARK(BM_LargeReportFlip)->Arg(10)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toUtf8());
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  const auto before = std::chrono::steady_clock::now();
  TZVApplication app(argc, argv);
  const auto created = std::chrono::steady_clock::now();
  const bool translated = InstallQtTranslation();
  const auto end = std::chrono::steady_clock::now();
  const double appMs = std::chrono::duration<double, std::milli>(end - before).count();
  std::printf("application object: %.1f ms, of which Qt's Polish texts: %.1f ms (%s)\n", appMs,
              std::chrono::duration<double, std::milli>(end - created).count(),
              translated ? "loaded" : "missing");
  // Settings as a long-time user has them: every remembered report taken, the window's place kept.
  TViewerSettings settings;
  for (int i = 0; i < TViewerSettings::MaxReports; ++i)
    settings.SetLastPage(QStringLiteral("/home/uzytkownik/raporty/raport-%1.zvp").arg(i), i % 7 + 1);
  settings.Window = {QPoint(40, 40), QSize(832, 446), false};
  settings.Save();
  SetModalHook([](QDialog&) { return int(QDialog::Rejected); });
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
