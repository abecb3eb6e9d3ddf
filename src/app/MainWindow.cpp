#include "MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "ButtonGlyphs.h"
#include "FileAssociation.h"
#include "FindBar.h"
#include "Handlers.h"
#include "ModalHook.h"
#include "TextFinder.h"
#include "ZVApplication.h"

bool gPrawoDruku = false;
int32_t gIDOsoby = 0;
bool gPlayWholeMetafile = false;

namespace {

const QString NoReportCaption = QStringLiteral("Podgląd raportu");

struct TButtonPlace {
  QPushButton* TfrmDodEdidoPreview::*Field;
  int Left, Width;
  const char* Caption;
  bool HasGlyph;
  TGlyph Glyph;
};

} // namespace

TfrmDodEdidoPreview::TfrmDodEdidoPreview(QStringList arguments, QWidget* parent)
    : QWidget(parent), About(MakeViewerAboutDialog()), FArguments(std::move(arguments)) {
  BuildLayout();
  FormCreate();
}

TfrmDodEdidoPreview::~TfrmDodEdidoPreview() {
  qApp->removeEventFilter(this);
  if (FZVPrinter) FormClose();
}

void TfrmDodEdidoPreview::BuildLayout() {
  setWindowTitle(NoReportCaption);
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);
  resize(832, 446);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  RestoreWindowPlace();
  setAcceptDrops(true);

  Panel1 = new QWidget(this);
  Panel1->setFixedHeight(24);
  ZVPreview1 = new TZVPreview(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Panel1);
  layout->addWidget(ZVPreview1, 1);

  Panel2 = new QLabel(QStringLiteral("Str. "), Panel1);
  Panel2->setGeometry(0, 0, 69, 24);
  FToolbar.push_back({Panel2, 0, 69});
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel2->setAlignment(Qt::AlignCenter);

  const TButtonPlace places[] = {
      {&TfrmDodEdidoPreview::btnPrint, 71, 66, "&Drukuj", true, TGlyph::Print},
      {&TfrmDodEdidoPreview::btnNextPage, 302, 85, "&Następna", true, TGlyph::NextPage},
      {&TfrmDodEdidoPreview::btnPrevPage, 198, 104, "&Poprzednia", true, TGlyph::PrevPage},
      {&TfrmDodEdidoPreview::btnZoomIn, 388, 75, "Po&większ", true, TGlyph::ZoomIn},
      {&TfrmDodEdidoPreview::btnZoomOut, 463, 82, "Po&mniejsz", true, TGlyph::ZoomOut},
      {&TfrmDodEdidoPreview::btnOpen, 545, 65, "&Otwórz", true, TGlyph::Open},
      {&TfrmDodEdidoPreview::btnSave, 610, 75, "&Zapisz", true, TGlyph::Save},
      {&TfrmDodEdidoPreview::btnClose, 685, 75, "Z&amknij", false, TGlyph::Open},
      {&TfrmDodEdidoPreview::btnabout, 760, 74, "O programie", false, TGlyph::Open},
      {&TfrmDodEdidoPreview::BitBtn1, 140, 57, "PDF", true, TGlyph::Pdf},
  };
  // In tab order.
  QWidget* previous = nullptr;
  for (const TButtonPlace& place : places) {
    auto* button = new QPushButton(QString::fromUtf8(place.Caption), Panel1);
    button->setGeometry(place.Left, 0, place.Width, 25);
    FToolbar.push_back({button, place.Left, place.Width});
    if (place.HasGlyph) button->setIcon(ButtonGlyph(place.Glyph));
    this->*place.Field = button;
    if (previous) setTabOrder(previous, button);
    previous = button;
  }

  connect(btnPrint, &QPushButton::clicked, this, Reported([this] { btnPrintClick(); }));
  connect(BitBtn1, &QPushButton::clicked, this, Reported([this] { BitBtn1Click(); }));
  connect(btnPrevPage, &QPushButton::clicked, this, Reported([this] { btnPrevPageClick(); }));
  connect(btnNextPage, &QPushButton::clicked, this, Reported([this] { btnNextPageClick(); }));
  connect(btnZoomIn, &QPushButton::clicked, this, Reported([this] { btnZoomInClick(); }));
  connect(btnZoomOut, &QPushButton::clicked, this, Reported([this] { btnZoomOutClick(); }));
  connect(btnOpen, &QPushButton::clicked, this, Reported([this] { btnOpenClick(); }));
  connect(btnSave, &QPushButton::clicked, this, Reported([this] { btnSaveClick(); }));
  connect(btnClose, &QPushButton::clicked, this, Reported([this] { btnCloseClick(); }));
  connect(btnabout, &QPushButton::clicked, this, Reported([this] { btnaboutClick(); }));

  ZVPreview1->OnWheelPastEdge = [this](int direction) { Reported([&] { WheelPastEdge(direction); })(); };
  ZVPreview1->OnWheelZoom = [this](int direction, QPointF at) {
    Reported([&] { ZoomStep(direction, at); })();
  };

  // The window sees keys before its controls.
  qApp->installEventFilter(this);
}

void TfrmDodEdidoPreview::FormCreate() {
  bCanPrint = true;
  bCanSave = true;
  gPrawoDruku = true;
  FZVPrinter = std::make_unique<TZVPrinter>();
  ZVPreview1->SetZVPrinter(FZVPrinter.get());
}

void TfrmDodEdidoPreview::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (!FShowPending) return;
  FShowPending = false;
  // Run from the event queue once the window is up, so that its errors reach the standard error box.
  QMetaObject::invokeMethod(
      this, [this] { FormShow(); }, Qt::QueuedConnection);
}

void TfrmDodEdidoPreview::FormShow() {
  ArrangeButtons();
  UpdateAUpdate();
  const QString file = FArguments.value(1);
  try {
    if (!file.isEmpty())
      OpenReport(file);
    else if (RegisterFileAssociation())
      ShowFirstRunNotice(this);
  } catch (...) {
    ApplyRememberedZoom();
    throw;
  }
  ApplyRememberedZoom();
}

void TfrmDodEdidoPreview::ArrangeButtons() {
  ZVPreview1->ZoomToFit();
  // The designed places move; the row is laid out from them.
  if (!bCanPrint) {
    const int d = DesignLeft(btnPrevPage) - DesignLeft(btnPrint);
    for (QPushButton* b :
         {btnNextPage, btnPrevPage, btnZoomIn, btnZoomOut, btnOpen, btnSave, btnClose, btnabout})
      DesignLeft(b) -= d;
  }
  if (!bCanSave) {
    btnSave->setEnabled(false);
    btnSave->hide();
    DesignLeft(btnabout) = DesignLeft(btnSave);
  }
  ArrangeToolbar();
  UpdatePageInfo();
}

void TfrmDodEdidoPreview::UpdatePageInfo() {
  TZVPrinter* printer = ZVPreview1->ZVPrinter();
  btnPrevPage->setEnabled(printer && ZVPreview1->PageNumber() > 1);
  btnNextPage->setEnabled(printer && ZVPreview1->PageNumber() < printer->PageCount());
  if (printer) {
    const QString counter =
        QStringLiteral("Str. %1/%2").arg(ZVPreview1->PageNumber()).arg(printer->PageCount());
    // A longer counter may need a wider panel.
    if (counter.size() != Panel2->text().size()) {
      Panel2->setText(counter);
      ArrangeToolbar();
    } else {
      Panel2->setText(counter);
    }
  }
}

void TfrmDodEdidoPreview::LoadReport(const QString& path) {
  const std::string file = path.toStdString();
  if (FZVPrinter->Status() == mpReady) {
    // Nothing is open that could be kept; a failure must not leave a page count behind.
    FZVPrinter->SetMaster(nullptr);
    try {
      FZVPrinter->Load(file);
      FReportPath = path;
    } catch (...) {
      FZVPrinter->Cleanup();
      FZVPrinter->SetPageCount(0);
      ZVPreview1->SetZVPrinter(FZVPrinter.get());
      UpdatePageInfo();
      throw;
    }
    return;
  }
  auto fresh = std::make_unique<TZVPrinter>();
  fresh->Load(file);
  ZVPreview1->SetZVPrinter(fresh.get());
  FZVPrinter = std::move(fresh);
  FReportPath = path;
}

void TfrmDodEdidoPreview::ShowReport(const QString& caption) {
  ZVPreview1->SetPageNumber(1);
  ZVPreview1->PreviewImage()->SetPageNumber(1);
  setWindowTitle(caption);
  UpdatePageInfo();
}

void TfrmDodEdidoPreview::OpenReport(const QString& path) {
  if (!QFileInfo(path).exists()) {
    ShowMessageBox(this, QStringLiteral("Błąd"), QStringLiteral("Brak pliku: ") + path);
    return;
  }
  const QString previous = FReportPath;
  const int32_t previousPage = ZVPreview1->PageNumber();
  LoadReport(path);
  if (!previous.isEmpty()) FSettings.SetLastPage(previous, previousPage);
  ShowReport(
      QStringLiteral("Podglad zachowanego raportu - %1 - %2 stron").arg(path).arg(FZVPrinter->PageCount()));
  ZVPreview1->ZoomToFit();
  // Back where the reader left the report last time.
  GoToPage(FSettings.LastPage(path));
}

void TfrmDodEdidoPreview::load_file(const QString& FileName, const QString& tyt) {
  if (!QFileInfo(FileName).exists()) return;
  LoadReport(FileName);
  ShowReport(tyt);
}

void TfrmDodEdidoPreview::btnOpenClick() {
  QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Ładowanie reportu"));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The text shows *.ZVP; the pattern takes either case, as the file systems here tell them apart.
  dialog.setNameFilter(QStringLiteral("Plik raportu (*.ZVP) (*.ZVP *.zvp)"));
  if (ExecModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  OpenReport(dialog.selectedFiles().constFirst());
}

void TfrmDodEdidoPreview::btnPrevPageClick() {
  DispatchPending();
  if (ZVPreview1->PageNumber() > 1) ZVPreview1->SetPageNumber(ZVPreview1->PageNumber() - 1);
  UpdatePageInfo();
}

void TfrmDodEdidoPreview::btnNextPageClick() {
  DispatchPending();
  TZVPrinter* printer = ZVPreview1->ZVPrinter();
  if (printer && ZVPreview1->PageNumber() < printer->PageCount())
    ZVPreview1->SetPageNumber(ZVPreview1->PageNumber() + 1);
  UpdatePageInfo();
}

void TfrmDodEdidoPreview::btnZoomInClick() {
  DispatchPending();
  ZVPreview1->SetZoom(ZVPreview1->Zoom() + 10);
}

void TfrmDodEdidoPreview::btnZoomOutClick() {
  DispatchPending();
  if (ZVPreview1->Zoom() > 10) ZVPreview1->SetZoom(ZVPreview1->Zoom() - 10);
}

bool TfrmDodEdidoPreview::FormShortCut(int key, Qt::KeyboardModifiers modifiers) {
  const bool ctrl = modifiers & Qt::ControlModifier;
  TZVPreview& preview = *ZVPreview1;
  switch (key) {
  case Qt::Key_PageUp:
    if (!ctrl) {
      btnPrevPageClick();
      break;
    }
    preview.SetPageNumber(1);
    DispatchPending();
    UpdatePageInfo();
    break;
  case Qt::Key_PageDown:
    if (!ctrl) {
      btnNextPageClick();
      break;
    }
    if (preview.ZVPrinter()) preview.SetPageNumber(preview.ZVPrinter()->PageCount());
    DispatchPending();
    UpdatePageInfo();
    break;
  case Qt::Key_Down:
    preview.SetVertPosition(preview.VertPosition() + 10);
    break;
  case Qt::Key_Up:
    preview.SetVertPosition(preview.VertPosition() - 10);
    break;
  case Qt::Key_Left:
    preview.SetHorzPosition(preview.HorzPosition() - 10);
    break;
  case Qt::Key_Right:
    preview.SetHorzPosition(preview.HorzPosition() + 10);
    break;
  case Qt::Key_Home:
    // With Ctrl, the start of the report: its first page, from the top.
    if (ctrl) GoToPage(1);
    preview.SetVertPosition(0);
    break;
  case Qt::Key_End:
    // With Ctrl, the end of the report: its last page, from the bottom.
    if (ctrl && preview.ZVPrinter()) GoToPage(preview.ZVPrinter()->PageCount());
    preview.SetVertPosition(preview.VertRange());
    break;
  default:
    return false;
  }
  return true;
}

bool TfrmDodEdidoPreview::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    const auto* key = static_cast<QKeyEvent*>(e);
    try {
      const int find = FindKey(key->key(), key->modifiers());
      if (find > 0) return true;
      if (find == 0 &&
          (FormShortCut(key->key(), key->modifiers()) || HabitShortCut(key->key(), key->modifiers())))
        return true;
    } catch (const std::exception& error) {
      ShowErrorBox(QString::fromUtf8(error.what()));
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void TfrmDodEdidoPreview::btnCloseClick() {
  close();
}

void TfrmDodEdidoPreview::btnaboutClick() {
  About.Execute(this);
}

void TfrmDodEdidoPreview::closeEvent(QCloseEvent* e) {
  FormClose();
  e->accept();
}

void TfrmDodEdidoPreview::FormClose() {
  SaveSettings();
  ZVPreview1->SetZVPrinter(nullptr);
  FZVPrinter.reset();
}
