#pragma once
// The viewer's application object: an error that reaches the event dispatch is shown in the standard
// error box with its message, and the program goes on.
#include <QApplication>

class TZVApplication : public QApplication {
 public:
  TZVApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// The standard error box: the application's name as caption, the message, an error icon and OK.
void ShowErrorBox(const QString& message);
