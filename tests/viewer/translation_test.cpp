// The toolkit's own texts in the viewer's dialogs are Polish: file dialogs, the page number question,
// the printer dialog and the standard buttons of message boxes.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
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
