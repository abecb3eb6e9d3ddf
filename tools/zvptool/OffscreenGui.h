#pragma once
// The Qt application a drawing command runs in: offscreen unless QT_QPA_PLATFORM asks for another
// platform, and with Qt's notes about the session (no runtime directory and the like), which are noise for
// a command-line tool, reduced to real failures, printed under the command's name.
#include <QGuiApplication>
#include <memory>

class TOffscreenGui {
 public:
  // `command` must outlive the application (a string literal).
  explicit TOffscreenGui(const char* command);
  ~TOffscreenGui();
  TOffscreenGui(const TOffscreenGui&) = delete;
  TOffscreenGui& operator=(const TOffscreenGui&) = delete;

 private:
  int FArgc = 1;
  char FName[8] = "zvptool";
  char* FArgv[2] = {FName, nullptr};
  std::unique_ptr<QGuiApplication> FApp;
};
