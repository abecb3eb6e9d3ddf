#pragma once
// TfrmSelectPrinter: the small modal dialog that asks for a printer, a page range and a number of copies
// before printing. It only collects the choices; the caller reads NumCopies, FromPage, ToPage and the
// selected entry of cbPrinters afterwards. FromPage 0 means all pages. Showing it needs at least one
// installed printer (the report printer's index is read), else the printer's error is raised.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/printer/Printer.h"

class TZVPrinter;

class TfrmSelectPrinter : public QDialog {
 public:
  explicit TfrmSelectPrinter(QWidget* parent = nullptr);
  ~TfrmSelectPrinter() override;

  TZVPrinter* ZVPrinter = nullptr;
  int32_t PrinterIndex = 0;
  int32_t NumCopies = 0;
  int32_t FromPage = 0, ToPage = 0;
  std::unique_ptr<TPrinter> Printer; // made on show
  int32_t IDOsoby = 0;
  bool PrawoDruku = false;

  QLabel* Label1;
  QComboBox* cbPrinters;
  QToolButton* PrnSetB;
  QRadioButton* AllPagesRb;
  QRadioButton* RangeRb;
  QLineEdit* FromEdt;
  QLineEdit* ToEdt;
  QSpinBox* CopiesSe;
  QPushButton* BitBtn3;
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QLabel* StatusLbl;

  // Shows the error of a control's handler (a standard error box unless replaced).
  std::function<void(const QString& Message)> OnError;

  void FormShow();
  void cbPrintersChange();
  void BitBtn3Click();
  void AllPagesRbClick();
  void FromEdtChange(QLineEdit* edit);
  void BitBtn1Click();
  void PrnSetBClick();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  bool FShown = false;
  bool FFilling = false; // the list is being filled: its change signals are not the user's
};
