// The toolkit's own texts in the viewer's dialogs are Polish: file dialogs, the page number question,
// the printer dialog and the standard buttons of message boxes.
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include "MainWindow.h"
#include "QtTranslation.h"
#include "ViewerTestSupport.h"

using namespace viewer_test;

namespace {

QStringList ButtonTexts(const QWidget& dialog) {
  QStringList texts;
  for (const QPushButton* b : dialog.findChildren<QPushButton*>())
    if (b->isVisibleTo(&dialog)) texts << b->text();
  return texts;
}

QStringList LabelTexts(const QWidget& dialog) {
  QStringList texts;
  for (const QLabel* l : dialog.findChildren<QLabel*>())
    texts << l->text();
  return texts;
}

class TranslationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    ASSERT_TRUE(QFileInfo::exists(QtTranslationFile())) << QtTranslationFile().toStdString();
    ASSERT_TRUE(InstallQtTranslation());
  }
  TVirtualPrinters printers;
};

TEST_F(TranslationTest, OpenAndSaveDialogsArePolish) {
  struct Case {
    std::function<void(TfrmDodEdidoPreview&)> Run;
    const char* Accept;
  } cases[] = {{[](TfrmDodEdidoPreview& w) { w.btnOpenClick(); }, "&Otwórz"},
               {[](TfrmDodEdidoPreview& w) { w.btnSaveClick(); }, "&Zachowaj"}};
  TfrmDodEdidoPreview w(QStringList{"zvpview", QString::fromStdString(SamplePath("faktura.zvp"))});
  for (const Case& c : cases) {
    QStringList buttons, labels;
    TModalRecorder recorder([&](QDialog& dialog) {
      dialog.show();
      buttons = ButtonTexts(dialog);
      labels = LabelTexts(dialog);
      return int(QDialog::Rejected);
    });
    c.Run(w);
    EXPECT_TRUE(buttons.contains("Anuluj")) << buttons.join('|').toStdString();
    EXPECT_TRUE(buttons.contains(QString::fromUtf8(c.Accept))) << buttons.join('|').toStdString();
    EXPECT_FALSE(buttons.contains("Cancel"));
    EXPECT_FALSE(labels.contains("Look in:")) << labels.join('|').toStdString();
  }
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers the Save dialog with `target` through its own accept, which asks before replacing a file; the
// question is answered with `reply`. Returns the question's text (empty when none was asked).
QString SaveOver(TfrmDodEdidoPreview& w, const QString& target, QMessageBox::StandardButton reply) {
  QString question;
  TModalRecorder recorder([&](QDialog& dialog) {
    auto& files = static_cast<QFileDialog&>(dialog);
    files.show();
    files.selectFile(target);
    // The question runs its own loop; it is answered once it is up.
    QTimer::singleShot(0, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        question = box->text();
        box->button(reply)->click();
      }
    });
    static_cast<QDialog&>(files).accept(); // the dialog's own accept, as its Save button
    return files.result();
  });
  w.btnSaveClick();
  return question;
}

TEST_F(TranslationTest, SavingOverAFileAsksInPolishAndReplacesOnlyOnYes) {
  TfrmDodEdidoPreview w(QStringList{"zvpview", QString::fromStdString(SamplePath("faktura.zvp"))});
  w.show();
  QCoreApplication::processEvents();
  const QString target = QString::fromStdString(std::string(ZVP_TEST_OUTPUT_DIR) + "/viewer-over.zvp");
  QFile::remove(target);
  {
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older report");
  }
  const QString no = SaveOver(w, target, QMessageBox::No);
  EXPECT_TRUE(no.contains(QFileInfo(target).fileName())) << no.toStdString();
  EXPECT_FALSE(no.contains("already exists")) << no.toStdString();
  EXPECT_EQ(Contents(target), QByteArray("an older report")) << "kept on No";

  EXPECT_FALSE(SaveOver(w, target, QMessageBox::Yes).isEmpty());
  EXPECT_EQ(Contents(target), Contents(QString::fromStdString(SamplePath("faktura.zvp"))))
      << "replaced on Yes";
}

TEST_F(TranslationTest, PageQuestionIsPolish) {
  TfrmDodEdidoPreview w(QStringList{"zvpview", QString::fromStdString(SamplePath("faktura.zvp"))});
  w.show();
  QCoreApplication::processEvents();
  QStringList buttons;
  TModalRecorder recorder([&](QDialog& dialog) {
    dialog.show();
    buttons = ButtonTexts(dialog);
    return int(QDialog::Rejected);
  });
  w.GoToPageClick();
  EXPECT_EQ(buttons, QStringList({"OK", "Anuluj"}));
}

TEST_F(TranslationTest, MessageBoxButtonsArePolish) {
  QMessageBox box(QMessageBox::Question, "Pytanie", "Tekst",
                  QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No |
                      QMessageBox::Close);
  box.show();
  EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "OK");
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Anuluj");
  EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "&Tak");
  EXPECT_EQ(box.button(QMessageBox::No)->text(), "&Nie");
  EXPECT_EQ(box.button(QMessageBox::Close)->text(), "Zamknij");
}

TEST_F(TranslationTest, PrinterDialogIsPolish) {
  QPrinter printer;
  QPrintDialog dialog(&printer);
  dialog.show();
  const QStringList buttons = ButtonTexts(dialog);
  EXPECT_TRUE(buttons.contains("Anuluj")) << buttons.join('|').toStdString();
  EXPECT_FALSE(buttons.contains("Cancel"));
  EXPECT_FALSE(buttons.contains("Properties")) << buttons.join('|').toStdString();
  dialog.reject();
}

TEST_F(TranslationTest, InstallingTwiceInstallsOnce) {
  EXPECT_TRUE(InstallQtTranslation());
  EXPECT_EQ(qApp->findChildren<QTranslator*>(QStringLiteral("qtbase_pl.qm")).size(), 1);
}

} // namespace
