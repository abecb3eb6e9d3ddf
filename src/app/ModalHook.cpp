#include "ModalHook.h"

namespace {
TModalHook& Hook() {
  static TModalHook hook;
  return hook;
}
} // namespace

TModalHook SetModalHook(TModalHook Hook_) {
  TModalHook previous = std::move(Hook());
  Hook() = std::move(Hook_);
  return previous;
}

int ExecModal(QDialog& Dialog) {
  if (Hook()) return Hook()(Dialog);
  return Dialog.exec();
}

int ShowMessageBox(QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
  return ExecModal(box);
}
