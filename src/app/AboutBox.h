#pragma once
// TAboutBox: the modal About box with company, engraved product name, version, copyright, web and mail
// links, the system lines, and the commit identifier behind Ctrl+C (copy) and Ctrl+H (show).
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "VersionInfo.h"

class TAboutBox : public QDialog {
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  QLabel* ProgramIcon;
  QLabel* Company;
  QLabel* ProductName1;
  QLabel* ProductName3;
  QLabel* ProductName2;
  QLabel* Version;
  QLabel* Copyright;
  QLabel* URL;
  QLabel* EMAIL;
  QLabel* OS;
  QLabel* Label3;
  QLabel* PhysMem;
  QFrame* Bevel1;
  QPushButton* BitBtn1;

  // The block whose commit identifier the shortcuts use (the running program's by default).
  TVersionInfo VersionInfo;

  // Sizes the labels to their texts and lays the box out from the font's metrics: the designed places
  // are the least, rows move down and the box widens where a text needs it, so no label overlaps
  // another and none is cut.
  void LayOut();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void FormCreate();
  // Ctrl+C and Ctrl+H; true when the key was one of them.
  bool FormKeyDown(QKeyEvent* e);
};
