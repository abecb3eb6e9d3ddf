#include "SelectPrinterDialog.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QIcon>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>

#include "platform/printer/QtPrinter.h"
#include "store/printer/ZVPrinter.h"

namespace {

QLabel* MakeLabel(const QString& text, QWidget* parent, int left, int top) {
  auto* label = new QLabel(text, parent);
  label->move(left, top);
  label->adjustSize();
  return label;
}

// The page number in a range edit; an empty edit stands for `empty`.
int32_t EditNumber(const QLineEdit* edit, int32_t empty) {
  bool ok = false;
  const int32_t value = edit->text().toInt(&ok);
  return ok ? value : empty;
}

QIcon SetupGlyph() {
  QIcon themed = QIcon::fromTheme(QStringLiteral("document-properties"));
  if (!themed.isNull()) return themed;
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setPen(Qt::black);
  p.setBrush(QColor(150, 150, 150));
  p.drawRect(1, 6, 13, 6);
  p.setBrush(Qt::white);
  p.drawRect(4, 1, 7, 5);
  p.drawRect(4, 10, 7, 4);
  return QIcon(picture);
}

} // namespace

TfrmSelectPrinter::TfrmSelectPrinter(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Wybierz drukarkę"));
  setFixedSize(392, 202);

  cbPrinters = new QComboBox(this);
  cbPrinters->setGeometry(64, 5, 277, cbPrinters->sizeHint().height());
  Label1 = MakeLabel(QStringLiteral("&Drukarka"), this, 8, 8);
  Label1->setBuddy(cbPrinters);
  PrnSetB = new QToolButton(this);
  PrnSetB->setGeometry(356, 4, 23, 22);
  PrnSetB->setAutoRaise(true);
  PrnSetB->setIcon(SetupGlyph());
  PrnSetB->setToolTip(QStringLiteral("Konfiguracja drukarki"));

  auto* range = new QGroupBox(QStringLiteral("Zasięg wydruku"), this);
  range->setGeometry(8, 36, 201, 73);
  AllPagesRb = new QRadioButton(QStringLiteral("&Wszystkie strony"), range);
  AllPagesRb->move(6, 16);
  AllPagesRb->setChecked(true);
  RangeRb = new QRadioButton(QStringLiteral("Strony"), range);
  RangeRb->move(6, 36);
  MakeLabel(QStringLiteral("Od"), range, 69, 38);
  FromEdt = new QLineEdit(range);
  FromEdt->setGeometry(96, 36, 33, FromEdt->sizeHint().height());
  FromEdt->setEnabled(false);
  MakeLabel(QStringLiteral("Do"), range, 138, 38);
  ToEdt = new QLineEdit(range);
  ToEdt->setGeometry(154, 36, 33, ToEdt->sizeHint().height());
  ToEdt->setEnabled(false);

  auto* copies = new QGroupBox(QStringLiteral("Kopie"), this);
  copies->setGeometry(216, 36, 169, 74);
  MakeLabel(QStringLiteral("Liczba kopii:"), copies, 8, 24);
  CopiesSe = new QSpinBox(copies);
  CopiesSe->setGeometry(104, 21, 49, CopiesSe->sizeHint().height());
  CopiesSe->setRange(1, 99);
  CopiesSe->setValue(1);

  BitBtn3 = new QPushButton(QIcon::fromTheme(QStringLiteral("printer")), QStringLiteral("D&omyślne"), this);
  BitBtn3->setGeometry(8, 129, 79, 25);
  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setGeometry(160, 129, 75, 25);
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(QStringLiteral("Anuluj"), this);
  BitBtn2->setGeometry(308, 129, 75, 25);

  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::Panel);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setGeometry(4, 172, 381, 20);
  StatusLbl = MakeLabel(QString(), this, 8, 176);

  // Handlers report their errors here: an exception must not travel back through the toolkit's signals.
  const auto reported = [this](auto handler) {
    return [this, handler] {
      try {
        handler();
      } catch (const std::exception& e) {
        const QString message = QString::fromUtf8(e.what());
        if (OnError)
          OnError(message);
        else
          QMessageBox::critical(this, QCoreApplication::applicationName(), message);
      }
    };
  };
  connect(cbPrinters, &QComboBox::currentIndexChanged, this, reported([this] {
            if (!FFilling) cbPrintersChange();
          }));
  connect(PrnSetB, &QToolButton::clicked, this, reported([this] { PrnSetBClick(); }));
  connect(AllPagesRb, &QRadioButton::toggled, this, [this] { AllPagesRbClick(); });
  connect(RangeRb, &QRadioButton::toggled, this, [this] { AllPagesRbClick(); });
  connect(FromEdt, &QLineEdit::textChanged, this, [this] { FromEdtChange(FromEdt); });
  connect(ToEdt, &QLineEdit::textChanged, this, [this] { FromEdtChange(ToEdt); });
  connect(BitBtn3, &QPushButton::clicked, this, reported([this] { BitBtn3Click(); }));
  connect(BitBtn1, &QPushButton::clicked, this, [this] {
    BitBtn1Click();
    accept();
  });
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmSelectPrinter::~TfrmSelectPrinter() = default;

void TfrmSelectPrinter::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!FShown) {
    FShown = true;
    FormShow();
  }
}

void TfrmSelectPrinter::FormShow() {
  StatusLbl->setText(QStringLiteral("Proszę czekać..."));
  StatusLbl->adjustSize();
  Printer = NewPrinter();
  if (NumCopies < 1) NumCopies = 1;
  CopiesSe->setValue(NumCopies);
  FFilling = true;
  cbPrinters->clear();
  for (const std::string& name : Printer->Printers())
    cbPrinters->addItem(QString::fromStdString(name));
  cbPrinters->setCurrentIndex(PrinterIndex);
  FFilling = false;
  const int32_t pages = ZVPrinter ? ZVPrinter->PageCount() : 0;
  AllPagesRb->setText(QStringLiteral("Wszystkie %1 stron(y)").arg(pages));
  AllPagesRb->adjustSize();
  FromEdt->setText(QStringLiteral("1"));
  ToEdt->setText(QString::number(pages));
  QCoreApplication::processEvents();
  cbPrintersChange();
}

void TfrmSelectPrinter::cbPrintersChange() {
  if (!ZVPrinter) return;
  // The report printer stays on its own printer, but with that printer's defaults read afresh.
  const int32_t own = ZVPrinter->PrinterIndex();
  ZVPrinter->SetPrinterIndex(cbPrinters->currentIndex());
  ZVPrinter->SetPrinterIndex(own);
}

void TfrmSelectPrinter::BitBtn3Click() {
  Printer->SetPrinterIndex(-1);
  FFilling = true;
  cbPrinters->setCurrentIndex(Printer->PrinterIndex());
  FFilling = false;
  cbPrintersChange();
}

void TfrmSelectPrinter::AllPagesRbClick() {
  FromEdt->setEnabled(RangeRb->isChecked());
  ToEdt->setEnabled(FromEdt->isEnabled());
}

void TfrmSelectPrinter::FromEdtChange(QLineEdit* edit) {
  for (QChar c : edit->text())
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
      edit->clear();
      return;
    }
}

void TfrmSelectPrinter::BitBtn1Click() {
  FromPage = 0;
  ToPage = 0;
  NumCopies = CopiesSe->value();
  if (RangeRb->isChecked()) {
    // An empty edit leaves its end of the range open.
    FromPage = EditNumber(FromEdt, 1);
    ToPage = EditNumber(ToEdt, ZVPrinter ? ZVPrinter->PageCount() : 0);
  }
}

void TfrmSelectPrinter::PrnSetBClick() {
  ExecutePrinterSetupDialog(this);
}
