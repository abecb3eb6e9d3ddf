#pragma once
// TfrmDodEdidoPreview: the viewer's main window, a row of buttons above the page preview. It owns the
// report printer through which reports are opened, paged, printed and saved. Keys reach the window before
// its controls: Page Up/Down page (with Ctrl: first/last page), the arrows, Home and End scroll.
//
// Besides, the habits of other document viewers: the wheel turns pages where the page cannot scroll
// further, Ctrl+wheel and Ctrl+plus/minus zoom around the mouse, Ctrl+Home/End go to the first/last page,
// Ctrl+G asks for a page, Ctrl+O/P/S open, print and save, and a .zvp file dropped on the window opens.
// Every page change ends in UpdatePageInfo, as the paging keys do. The button row grows to fit its texts
// and wraps when the window is narrower. The window's place, the zoom mode and each report's last page
// are kept between runs (ViewerSettings).
//
// Opening a report that fails keeps the report that was open: the new one is loaded completely into a
// report printer of its own before it replaces the old one. Errors leave the handlers and are shown by
// the application's standard error box; message boxes and dialogs run through ExecModal.
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "AboutDialog.h"
#include "ViewerSettings.h"
#include "preview/ZVPreview.h"

// Printing and saving allowed (set by FormCreate); handed to the printer dialog.
extern bool gPrawoDruku;
// The person handed to the printer dialog (nothing sets it).
extern int32_t gIDOsoby;
// Pages are printed by playing the whole metafile rather than record by record (nothing sets it).
extern bool gPlayWholeMetafile;

class TfrmDodEdidoPreview : public QWidget {
 public:
  // `arguments` as the program received them: the first after the program's name is the report to open.
  explicit TfrmDodEdidoPreview(QStringList arguments = {}, QWidget* parent = nullptr);
  ~TfrmDodEdidoPreview() override;

  QWidget* Panel1;
  TZVPreview* ZVPreview1;
  QPushButton* btnSave;
  QPushButton* btnPrint;
  QPushButton* btnNextPage;
  QPushButton* btnPrevPage;
  QPushButton* btnZoomIn;
  QPushButton* btnZoomOut;
  QPushButton* btnClose;
  QPushButton* btnOpen;
  QLabel* Panel2;
  QPushButton* btnabout;
  QPushButton* BitBtn1;
  TAboutDialog About;

  bool bCanPrint = true;
  bool bCanSave = true;

  TZVPrinter* ZVPrinter() const { return FZVPrinter.get(); }

  // Opens `FileName` with `tyt` as the caption and without fitting the zoom; a missing file does nothing.
  void load_file(const QString& FileName, const QString& tyt);

  // Handlers (public so that the program's parts and tests can drive them as the buttons do).
  void FormShow();
  void OpenReport(const QString& path);
  void UpdatePageInfo();
  void ArrangeButtons();
  // True when the key is one of the window's own.
  bool FormShortCut(int key, Qt::KeyboardModifiers modifiers);
  void btnOpenClick();
  void btnPrevPageClick();
  void btnNextPageClick();
  void btnZoomInClick();
  void btnZoomOutClick();
  void btnCloseClick();
  void btnaboutClick();
  void btnPrintClick();
  void btnSaveClick();
  void BitBtn1Click();
  void UpdateAUpdate();

  // The keys other viewers taught their users; true when the key was one of them.
  bool HabitShortCut(int key, Qt::KeyboardModifiers modifiers);
  // Ctrl+G: asks for a page number and shows that page.
  void GoToPageClick();
  // A zoom step as the zoom buttons make it (+1 in, -1 out), around `anchor` in viewport pixels.
  void ZoomStep(int direction, QPointF anchor);
  // The wheel went past the page's bottom (+1) or top (-1) edge: the next page from its top, or the
  // previous one from its bottom.
  void WheelPastEdge(int direction);
  // Lays the button row out for the window's width and font.
  void ArrangeToolbar();
  // Rows of buttons in the bar.
  int ToolbarRows() const { return FToolbarRows; }

  // Finding text (MainWindowFind.cpp). The find bar is made when Ctrl+F first asks for it; until then the
  // window is as it always was.
  class TFindBar* FindBar() const {
    return FFindBar;
  }
  void ShowFindBar();
  // Closes the bar and drops the marks and any search under way.
  void HideFindBar();
  // The next (+1) or previous (-1) match, as Enter/F3 and Shift+F3 ask.
  void FindStep(int direction);
  // True while a search is under way.
  bool FindSearching() const;
  // 1: a key of the find bar, done; -1: a key for the typed text, not for the window; 0: neither.
  int FindKey(int key, Qt::KeyboardModifiers modifiers);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  void FormCreate();
  void FormClose();
  void BuildLayout();
  // Loads `path` so that a failure leaves the open report (or the no-report state) intact.
  void LoadReport(const QString& path);
  void ShowReport(const QString& caption);
  void PrintPages(class TfrmSelectPrinter& dialog);
  // The settings' zoom mode, applied once the start-up has opened its report (or none).
  void ApplyRememberedZoom();
  // Shows page `page` as the paging keys do, when the report has it.
  void GoToPage(int32_t page);
  // The size and place of the last run, when they suit the screens there are now.
  void RestoreWindowPlace();
  void SaveSettings();
  int& DesignLeft(QWidget* item);

  struct TToolbarPlace {
    QWidget* Widget;
    int Left, Width; // as designed
  };
  std::vector<TToolbarPlace> FToolbar;
  int FToolbarRows = 1;
  TViewerSettings FSettings;

  QStringList FArguments;
  QString FReportPath; // the open report, the print job's name
  std::unique_ptr<TZVPrinter> FZVPrinter;
  // The search from the current page (or the current match): `step` past the match, else from it.
  void FindFrom(int direction, bool step);
  void ShowFound(const struct TFoundText& found);
  void ShowNotFound();
  class TFindBar* FFindBar = nullptr;
  std::unique_ptr<class TTextFinder> FFinder;
  int32_t FFoundPage = 0; // where the match shown is (0: none)
  int FFoundStart = 0;
  bool FShowPending = true;
};
