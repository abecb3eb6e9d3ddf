#pragma once
// TAboutDialog: the About box's settings, with Execute showing the box modally.
#include <QString>

#include "VersionInfo.h"

class QWidget;
class TAboutBox;

class TAboutDialog {
 public:
  QString Company = QStringLiteral("Your Company Name");
  QString ProductName;
  QString Version = QStringLiteral("Version");
  QString Copyright = QStringLiteral("Copyright Info");
  QString URL = QStringLiteral("Youe Web Site");
  QString EMail = QStringLiteral("Your E-Mail Address Here");
  bool Is3Numbers = false;
  // Where the version and the commit identifier come from (the running program by default).
  TVersionInfo VersionInfo;

  // Shows the box; true when it was closed with OK.
  bool Execute(QWidget* parent = nullptr);
  // The box while Execute runs, else null.
  TAboutBox* AboutBox() const { return FAboutBox; }

 private:
  TAboutBox* FAboutBox = nullptr;
};

// The main window's About settings: the maker's texts and "Wersja".
TAboutDialog MakeViewerAboutDialog();
