#pragma once
// What the main window's handlers share.
#include <QCoreApplication>
#include <QString>
#include <exception>

#include "ZVApplication.h"

// Lets the window's pending events run first, so that a repaint that is due happens before a change.
inline void DispatchPending() {
  QCoreApplication::processEvents();
}

// A handler called from the toolkit: its error is shown in the standard error box here, since an
// exception must not travel back through the toolkit's signal code.
template <typename F> auto Reported(F handler) {
  return [handler] {
    try {
      handler();
    } catch (const std::exception& e) {
      ShowErrorBox(QString::fromUtf8(e.what()));
    }
  };
}
