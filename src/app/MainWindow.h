#pragma once
// TfrmDodEdidoPreview: the viewer's main window, a row of buttons above the page preview. It owns the
// report printer through which reports are opened, paged, printed and saved. Keys reach the window before
// its controls: Page Up/Down page (with Ctrl: first/last page), the arrows, Home and End scroll.
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

#include "AboutDialog.h"
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

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  void FormCreate();
  void FormClose();
  void BuildLayout();
  // Loads `path` so that a failure leaves the open report (or the no-report state) intact.
  void LoadReport(const QString& path);
  void ShowReport(const QString& caption);
  void PrintPages(class TfrmSelectPrinter& dialog);

  QStringList FArguments;
  QString FReportPath; // the open report, the print job's name
  std::unique_ptr<TZVPrinter> FZVPrinter;
  bool FShowPending = true;
};
