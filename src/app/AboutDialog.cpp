#include "AboutDialog.h"

#include <QApplication>

#include "AboutBox.h"
#include "ModalHook.h"

bool TAboutDialog::Execute(QWidget* parent) {
  TAboutBox box(parent);
  FAboutBox = &box;
  struct Clear {
    TAboutBox*& Box;
    ~Clear() { Box = nullptr; }
  } clear{FAboutBox};

  if (ProductName.isEmpty()) ProductName = QApplication::applicationDisplayName();
  box.VersionInfo = VersionInfo;
  box.Company->setText(Company);
  for (QLabel* label : {box.ProductName1, box.ProductName3, box.ProductName2})
    label->setText(ProductName);
  box.Version->setText(Version + QLatin1Char(' ') +
                       QString::fromStdString(AboutVersionText(VersionInfo, Is3Numbers)));
  box.Copyright->setText(Copyright);
  box.URL->setText(URL);
  box.EMAIL->setText(EMail);
  box.LayOut();
  box.setWindowTitle(ProductName);
  box.ProgramIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
  return ExecModal(box) == QDialog::Accepted;
}

TAboutDialog MakeViewerAboutDialog() {
  TAboutDialog about;
  about.Company = QStringLiteral("Zevrin");
  about.Version = QStringLiteral("Wersja");
  about.Copyright = QStringLiteral("Copyright © Zevrin");
  about.URL = QStringLiteral("https://zevrin.example/");
  about.EMail = QStringLiteral("biuro@zevrin.example");
  return about;
}
