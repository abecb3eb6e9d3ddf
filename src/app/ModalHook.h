#pragma once
// Every modal dialog and message box of the program runs through ExecModal, so that a test can answer it
// instead of a person. By default the dialog's own exec() runs.
#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <functional>

using TModalHook = std::function<int(QDialog& Dialog)>;

// Replaces the hook (null restores exec()); returns the previous one.
TModalHook SetModalHook(TModalHook Hook);
int ExecModal(QDialog& Dialog);

// A message box with one OK button, run through ExecModal.
int ShowMessageBox(QWidget* parent, const QString& caption, const QString& text,
                   QMessageBox::Icon icon = QMessageBox::NoIcon);
