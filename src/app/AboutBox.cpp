#include "AboutBox.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>
#include <QUrl>

#include "ModalHook.h"
#include "SystemInfo.h"

namespace {

QLabel* MakeLabel(QWidget* parent, int left, int top, int pixelSize, const QColor& colour,
                  const QString& family = QString()) {
  auto* label = new QLabel(parent);
  QFont font = label->font();
  if (!family.isEmpty()) font.setFamily(family);
  font.setPixelSize(pixelSize);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  label->move(left, top);
  return label;
}

QLabel* MakeProductName(QWidget* parent, int left, int top, const QColor& colour) {
  QLabel* label = MakeLabel(parent, left, top, 28, colour, QStringLiteral("Courier New"));
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  label->resize(238, 31);
  label->setAttribute(Qt::WA_TranslucentBackground);
  return label;
}

QLabel* MakeLink(QWidget* parent, int left, int top) {
  QLabel* label = MakeLabel(parent, left, top, 12, QColor(0, 0, 128));
  QFont font = label->font();
  font.setUnderline(true);
  label->setFont(font);
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setFixedSize(373, 250);
  setWindowTitle(QStringLiteral("About"));
  ProgramIcon = new QLabel(this);
  ProgramIcon->setGeometry(16, 19, 41, 41);
  Company = MakeLabel(this, 82, 19, 15, Qt::black);
  // Stacked white, grey, black, each a pixel up and right of the previous: an engraved name.
  ProductName1 = MakeProductName(this, 82, 36, Qt::white);
  ProductName3 = MakeProductName(this, 83, 35, Qt::gray);
  ProductName2 = MakeProductName(this, 84, 34, Qt::black);
  Version = MakeLabel(this, 82, 67, 12, Qt::black);
  Copyright = MakeLabel(this, 82, 86, 12, Qt::black);
  URL = MakeLink(this, 82, 109);
  EMAIL = MakeLink(this, 82, 134);
  Bevel1 = new QFrame(this);
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setGeometry(82, 158, 276, 2);
  OS = MakeLabel(this, 82, 167, 12, Qt::black);
  OS->setWordWrap(true);
  OS->resize(276, 29);
  Label3 = MakeLabel(this, 82, 196, 12, Qt::black);
  Label3->setText(QStringLiteral("Ilość pamięci dostępnej dla Windows:"));
  PhysMem = MakeLabel(this, 82, 196, 12, Qt::black);
  PhysMem->setAlignment(Qt::AlignRight | Qt::AlignTop);
  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn1->setGeometry(301, 219, 61, 26);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

  URL->installEventFilter(this);
  EMAIL->installEventFilter(this);
  FormCreate();
}

void TAboutBox::FormCreate() {
  OS->setText(OperatingSystemLine());
  PhysMem->setText(PhysicalMemoryText(PhysicalMemoryBytes()));
  LayOut();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::MouseButtonRelease) {
    // Failures of the desktop to open an address are not reported.
    if (watched == URL) QDesktopServices::openUrl(QUrl(URL->text()));
    if (watched == EMAIL) QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + EMAIL->text()));
  }
  return QDialog::eventFilter(watched, e);
}

void TAboutBox::keyPressEvent(QKeyEvent* e) {
  if (!FormKeyDown(e)) QDialog::keyPressEvent(e);
}

bool TAboutBox::FormKeyDown(QKeyEvent* e) {
  if (!(e->modifiers() & Qt::ControlModifier)) return false;
  const QString commit = QString::fromStdString(CommitIdText(VersionInfo));
  if (e->key() == Qt::Key_C) {
    QApplication::clipboard()->setText(commit);
    return true;
  }
  if (e->key() == Qt::Key_H) {
    ShowMessageBox(this, QStringLiteral("Commit ID"), QStringLiteral("cHash: ") + commit);
    return true;
  }
  return false;
}
